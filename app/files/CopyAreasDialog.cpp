#include "app/files/CopyAreasDialog.h"

#include "app/DialogButtons.h"
#include "app/files/DifferencesDialog.h"
#include "app/files/FileDialogs.h"
#include "device/EIOException.h"
#include "device/MessageFormat.h"
#include "document/ConfigDocument.h"
#include "editors/fields/AreaCopy.h"
#include "editors/fields/EditorAreas.h"
#include "report/ConfigDiff.h"
#include "resources/ConstsZVX.h"
#include "widgets/HelpKey.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The widest the label over the check boxes may be, in average characters.
constexpr int kLabelChars = 64;

CopyAreasDialog::Runner& CurrentRunner()
{
    static CopyAreasDialog::Runner runner;
    return runner;
}

// caption with an accelerator on a letter no other control of the dialog has (taken, in
// lower case, gets it): the first free letter that begins a word, else any free letter.
// Plain ASCII letters only: Alt with a Polish letter needs AltGr too.
QString WithLetter(const QString& caption, QString& taken)
{
    const auto freeAt = [&](qsizetype i) {
        const QChar c = caption[i].toLower();
        return c >= u'a' && c <= u'z' && !taken.contains(c);
    };
    qsizetype at = -1;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i)
        if ((i == 0 || caption[i - 1] == u' ') && freeAt(i))
            at = i;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i)
        if (freeAt(i))
            at = i;
    if (at < 0)
        return caption;
    taken += caption[at].toLower();
    return QString(caption).insert(at, u'&');
}

} // namespace

CopyAreasDialog::CopyAreasDialog(const QString& fileName, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCopyAreas"));
    setWindowTitle(Text(ConstsZVX::CopyAreasTitle));
    HelpKey::Bind(this, QStringLiteral("kopiowanie.html"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    // A deep client folder would make the dialog as wide as its path: the path gives up
    // its middle (the start and the file name stay), and the tip holds it whole.
    const QFontMetrics metrics(Label1->font());
    const int room =
        metrics.averageCharWidth() * kLabelChars -
        metrics.horizontalAdvance(FormatMessage(ConstsZVX::CopyAreasChoose, {QString()}));
    Label1->setText(FormatMessage(
        ConstsZVX::CopyAreasChoose,
        {metrics.elidedText(fileName, Qt::ElideMiddle,
                            std::max(room, metrics.averageCharWidth() * kLabelChars / 2))}));
    Label1->setToolTip(fileName);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    // Alt and a letter ticks an area, as in any list of choices; OK and Anuluj keep theirs.
    QString taken = QStringLiteral("oa");
    for (const EditorArea* area : EditorAreas()) {
        auto* box = new QCheckBox(WithLetter(QString::fromStdString(area->caption), taken), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(CheckBoxes.size() + 1));
        CheckBoxes.push_back(box);
        layout->addWidget(box);
    }
    layout->addLayout(OkCancelRow(this, QStringLiteral("&OK"), BitBtn1, BitBtn2));
}

std::vector<const EditorArea*> CopyAreasDialog::Chosen() const
{
    std::vector<const EditorArea*> chosen;
    for (std::size_t i = 0; i < CheckBoxes.size(); ++i)
        if (CheckBoxes[i]->isChecked())
            chosen.push_back(EditorAreas()[i]);
    return chosen;
}

CopyAreasDialog::Runner CopyAreasDialog::InstallRunner(Runner runner)
{
    Runner previous = CurrentRunner();
    CurrentRunner() = std::move(runner);
    return previous;
}

int CopyAreasDialog::Run()
{
    return CurrentRunner() ? CurrentRunner()(*this) : exec();
}

bool CopyAreasFromFile(TZorvexSettings& settings, QWidget* parent,
                       const std::function<void(DifferencesDialog& dialog)>& runDifferences)
{
    const QString name = AskConfigFileName({false, Text(ConstsZVX::CopyAreasTitle)}, parent);
    if (name.isEmpty())
        return false;
    TZorvexSettings file;
    const FileResult read = ConfigDocument::ReadFile(name, file);
    if (read.outcome == FileOutcome::Failed)
        throw EIOException(read.message.toStdString());

    CopyAreasDialog dialog(name, parent);
    if (dialog.Run() != QDialog::Accepted || dialog.Chosen().empty())
        return false;
    TZorvexSettings copied = settings;
    CopyAreas(file, copied, dialog.Chosen());
    const QList<ConfigDifference> differences = ConfigDifferences(settings, copied);
    ShowDifferences(differences, Text(ConstsZVX::CopyAreasNothing),
                    FormatMessage(ConstsZVX::CopyAreasHeading, {name}),
                    Text(ConstsZVX::DiffColumnFile), parent, runDifferences);
    if (differences.isEmpty() || MessageDlg(mkConfirmation, Text(ConstsZVX::CopyAreasConfirm),
                                            mbYes | mbCancel, parent) != mbYes)
        return false;
    settings = copied;
    return true;
}
