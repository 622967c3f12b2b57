#include "editors/dialogs/UnitPolpager.h"

#include "editors/dialogs/FieldKeyFilter.h"
#include "editors/fields/PolpagerCode.h"
#include "editors/fields/PolpagerFields.h"
#include "resources/ConstsZVX.h"
#include "widgets/KeyFilter.h"
#include "widgets/MessageBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

TFormPolpager::TFormPolpager(QWidget* parent)
    : EditorDialog(QString::fromUtf8(PolpagerFields::Caption), parent),
      Label2(NewLabel(QString(), "Label2", nullptr, this)),
      Label4(NewLabel(QString(), "Label4", nullptr, this)), Memo1(new QPlainTextEdit(this))
{
    Memo1->setObjectName("Memo1");
    Memo1->setTabChangesFocus(true);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QFontMetrics metrics = Memo1->fontMetrics();
    Memo1->setFixedSize(metrics.horizontalAdvance(QString(44, 'W')) * 3 / 4,
                        metrics.lineSpacing() * 5);
    auto* filter = new KeyFilter([this](QChar& key) { Memo1KeyPress(Memo1, key); }, this);
    filter->Attach(Memo1);
    EnterPressesOk(Memo1);
    DiscardControlCharacters(Memo1);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFormPolpager::LimitLength);

    auto* label5 =
        NewLabel(FieldLabel(PolpagerFields::Table()["message"]), "Label5", nullptr, this);
    label5->setBuddy(Memo1);
    auto* grid = new QGridLayout;
    grid->addWidget(
        NewLabel(FieldLabel(PolpagerFields::Table()["station1"]), "Label1", nullptr, this), 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(
        NewLabel(FieldLabel(PolpagerFields::Table()["station2"]), "Label3", nullptr, this), 1, 0);
    grid->addWidget(Label4, 1, 1);
    grid->addWidget(label5, 2, 0, 1, 2);
    grid->addWidget(Memo1, 3, 0, 1, 2);
    SetBody(grid);
}

void TFormPolpager::Memo1KeyPress(QObject* /*sender*/, QChar& key)
{
    const EditorField& message = PolpagerFields::Table()["message"];
    FilterFieldKey(message, Memo1->toPlainText(), key);
    // The memo has no length limit of its own: the filter keeps it to the field's, typed
    // over a selection or not.
    const QTextCursor cursor = Memo1->textCursor();
    const qsizetype length = Memo1->toPlainText().size() - cursor.selectedText().size();
    if (key != QChar(8) && length >= message.maxLength)
        key = QChar();
}

void TFormPolpager::LimitLength()
{
    // Pasted text is cut, as the field's length limit cuts it.
    const QString text = Memo1->toPlainText();
    if (text.size() <= PolpagerCode::MaxTextLength)
        return;
    QTextCursor cursor = Memo1->textCursor();
    const int position = std::min<int>(cursor.position(), PolpagerCode::MaxTextLength);
    Memo1->setPlainText(text.left(PolpagerCode::MaxTextLength));
    cursor = Memo1->textCursor();
    cursor.setPosition(position);
    Memo1->setTextCursor(cursor);
}

bool TFormPolpager::CanClose()
{
    const auto error = PolpagerFields::Table()["message"].check(Memo1->toPlainText().toStdString());
    if (!error)
        return true;
    MessageDlg(mkError, QString::fromStdString(*error), mbOk, this);
    Memo1->setFocus();
    return false;
}

int TFormPolpager::EditSettings(TZorvexSettings& settings)
{
    PolpagerFields fields = PolpagerFields::Load(settings);
    Label2->setText(QString::fromStdString(fields.station1));
    Label4->setText(QString::fromStdString(fields.station2));
    Memo1->setPlainText(QString::fromStdString(fields.message));
    Memo1->moveCursor(QTextCursor::End);
    Memo1->setFocus();

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    fields.message = Memo1->toPlainText().toStdString();
    // CanClose has let only a message that fits through.
    if (!fields.Store(settings))
        return mrCancel;
    return mrOk;
}
