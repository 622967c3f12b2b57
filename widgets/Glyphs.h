#pragma once

#include <QIcon>
#include <QString>

// The tool-bar and menu glyphs, 16 x 16 pixels, compiled into the program as resources
// ":/glyphs/00.png" .. ":/glyphs/22.png", and the pictures ":/pictures/main.jpg" (the main
// window, 455 x 300) and ":/pictures/logo.jpg" (the about box, 128 x 64).
//  0 history        1 options         2 new           3 open          4 save
//  5 read dialer    6 write dialer    7 print         8 mail          9 about
// 10 description   11 dialing params 12 phone numbers 13 pager msg   14 access codes
// 15 event codes   16 (spare) bell   17 delays       18 stations     19 alarm inputs
// 20 PGM outputs   21 system options 22 help contents
namespace Glyphs {

inline constexpr int kCount = 23;
inline constexpr const char* kMainPicture = ":/pictures/main.jpg";
inline constexpr const char* kLogoPicture = ":/pictures/logo.jpg";

// ":/glyphs/NN.png" for index 0 .. kCount - 1.
QString Path(int index);
// The glyph as an icon; a null icon for an index out of range.
QIcon Icon(int index);

} // namespace Glyphs
