#pragma once

#include "device/TransferLog.h"
#include "device/TransferLogText.h"

#include <QWidget>

#include <deque>
#include <functional>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

// "Dziennik transmisji": the frames and chunks of the last exchanges, live. The link
// logs into it (it is the link's TransferLog for the window's whole life); it keeps the
// newest MaxEntries entries. On screen the bytes of access codes in write frames show as
// "**" unless "Pokaż kody dostępu" is ticked; "Zapisz..." saves every byte, codes
// included, to a file readable by its owner only. A window of its own beside the main
// window (not a dialog: it stays open while the user works on). UI thread only.
class TransferLogWindow : public QWidget, public TransferLog
{
    Q_OBJECT

public:
    static constexpr int MaxEntries = 20000;

    explicit TransferLogWindow(QWidget* parent = nullptr);

    void Entry(const TransferLogEntry& entry) noexcept override;

    // The lines as shown (masked unless the box is ticked).
    QStringList ShownLines() const;
    // All lines, codes shown: what "Zapisz..." writes.
    QStringList FullLines() const;
    // Writes FullLines to fileName; false with the system's reason in error.
    bool SaveTo(const QString& fileName, QString& error) const;
    void Clear();

    // True for the image offsets of access codes (the fields marked secret).
    static TransferLogText::HideByte CodeBytes();

    // Seam for tests: asks for the file "Zapisz..." writes; empty for Cancel.
    std::function<QString()> AskSaveName;

    QPlainTextEdit* Text;
    QCheckBox* ShowCodes;
    QPushButton* SaveButton;
    QPushButton* ClearButton;

private:
    void Redraw();
    void SaveClicked();

    std::deque<TransferLogEntry> m_entries;
    TransferLogText::HideByte m_hide;
};
