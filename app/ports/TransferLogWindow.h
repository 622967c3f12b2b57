#pragma once

#include "app/ports/TransferLogRows.h"
#include "device/TransferLog.h"
#include "device/TransferLogText.h"

#include <QDateTime>
#include <QRect>
#include <QWidget>

#include <deque>
#include <functional>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// "Dziennik transmisji": the frames and chunks of the last exchanges, live, a chunk
// received and its meaning on one row (TransferLogRows). The link logs into it (it is
// the link's TransferLog for the window's whole life); it keeps the newest MaxEntries
// entries. On screen the bytes of access codes (and the checksums after them) show as
// "**" unless "Pokaż kody dostępu" is ticked; "Zapisz..." saves every byte, codes
// included, each row with the date and time of day it was logged, to a .txt or .log file
// readable by its owner only. A window of its own beside the main window (not a dialog:
// it stays open while the user works on); Escape closes it. UI thread only.
class TransferLogWindow : public QWidget, public TransferLog
{
    Q_OBJECT

public:
    static constexpr int MaxEntries = 20000;

    explicit TransferLogWindow(QWidget* parent = nullptr);

    void Entry(const TransferLogEntry& entry) noexcept override;

    // Shows the window over its parent, all of it on the parent's screen (at most
    // 720 x 420, smaller on a small screen), or where the user left it.
    void Open();

    // The rows as shown (masked unless the box is ticked).
    QStringList ShownLines() const;
    // All rows, codes shown, each after the date and time of day it was logged
    // ("2026-12-08 14:03:12.412"): what "Zapisz..." writes.
    QStringList FullLines() const;
    // Writes FullLines to fileName; false with the system's reason in error.
    bool SaveTo(const QString& fileName, QString& error) const;
    void Clear();

    // True for the image offsets of access codes (the fields marked secret).
    static TransferLogText::HideByte CodeBytes();
    // Where a window of size wanted (frame included) goes over owner so that all of it is
    // within screen: centred on owner, then shrunk and moved as little as needed.
    static QRect PlaceWithin(const QSize& wanted, const QRect& owner, const QRect& screen);

    // Seam for tests: asks for the file "Zapisz..." writes; empty for Cancel. Unset, the
    // file dialog proposes "dziennik-<date>-<time>.txt" and adds .txt or .log to a name
    // typed without an extension.
    std::function<QString()> AskSaveName;

    QPlainTextEdit* Text;
    QCheckBox* ShowCodes;
    QPushButton* SaveButton;
    QPushButton* ClearButton;

protected:
    // The fixed-width font is looked up when the window first shows, not at the program's
    // start, which makes the window before its first paint.
    void showEvent(QShowEvent* event) override;

private:
    struct Logged
    {
        QDateTime when; // the wall clock when the window got it
        TransferLogEntry entry;
    };
    QStringList Rows(const TransferLogText::HideByte& hide, bool withTime) const;
    void Redraw();
    void SaveClicked();
    QString AskFileName();

    std::deque<Logged> m_entries;
    TransferLogText::HideByte m_hide;
    // Follows the entries as they come, for the rows shown.
    TransferLogRows m_live;
    bool m_placed = false;
};
