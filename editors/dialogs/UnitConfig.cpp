#include "editors/dialogs/UnitConfig.h"

#include "editors/dialogs/CodePageValidator.h"
#include "editors/dialogs/NoAutoSelectEdit.h"
#include "editors/fields/ConfigFields.h"
#include "model/TZorvexSettings.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Fields that stand directly one below the other read as one multi-line text.
QVBoxLayout* Block(QWidget* panel, const QList<QLineEdit*>& edits)
{
    auto* block = new QVBoxLayout;
    block->setSpacing(0);
    auto* frame = new QFrame(panel);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setBackgroundRole(QPalette::Base);
    frame->setAutoFillBackground(true);
    auto* lines = new QVBoxLayout(frame);
    lines->setContentsMargins(1, 1, 1, 1);
    lines->setSpacing(0);
    for (QLineEdit* edit : edits) {
        edit->setFrame(false);
        lines->addWidget(edit);
    }
    block->addWidget(frame);
    return block;
}

// The width at which a field shows count of its font's widest common letters whole: the
// first one at the left edge and the cursor behind the last one in sight.
int WidthForLetters(const QLineEdit& edit, int count)
{
    static const QString common = QString::fromUtf8("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                    "abcdefghijklmnopqrstuvwxyz0123456789"
                                                    "ĄĆĘŁŃÓŚŹŻąćęłńóśźż");
    const QFontMetrics metrics = edit.fontMetrics();
    int text = 0;
    for (const QChar letter : common)
        text = std::max(text, metrics.horizontalAdvance(QString(count, letter)));
    // What the field adds around its text: the size hint is 17 "x" plus those margins.
    const int margins = edit.sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    return text + margins + 2; // the field scrolls unless a pixel is left for the cursor
}
} // namespace

TFormConfig::TFormConfig(QWidget* parent)
    : EditorDialog(QString::fromUtf8(ConfigFields::Caption), parent)
{
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    for (int i = 0; i < ConfigFields::Count; ++i) {
        auto* edit = new NoAutoSelectEdit(panel);
        edit->setObjectName(QString("Edit%1").arg(i + 1));
        edit->setMaxLength(ConfigFields::Table().fields[i].maxLength);
        m_validators.append(new CodePageValidator(ConfigFields::Table().fields[i], edit));
        edit->setValidator(m_validators.back());
        m_edits.append(edit);
    }

    auto* label1 = new QLabel(FieldLabel(ConfigFields::Table().fields[0]), panel);
    label1->setObjectName("Label1");
    label1->setBuddy(m_edits[0]);
    auto* label2 =
        new QLabel(FieldLabel(ConfigFields::Table().fields[ConfigFields::AddressRecord]), panel);
    label2->setObjectName("Label2");
    label2->setBuddy(m_edits[ConfigFields::AddressRecord]);
    auto* label3 = new QLabel(
        FieldLabel(ConfigFields::Table().fields[ConfigFields::DescriptionRecord]), panel);
    label3->setObjectName("Label3");
    label3->setBuddy(m_edits[ConfigFields::DescriptionRecord]);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(label1, 0, 0, Qt::AlignTop);
    grid->addWidget(m_edits[0], 0, 1);
    grid->addWidget(label2, 1, 0, Qt::AlignTop);
    grid->addLayout(Block(panel, m_edits.mid(1, 2)), 1, 1);
    grid->addWidget(label3, 2, 0, Qt::AlignTop);
    grid->addLayout(Block(panel, m_edits.mid(3)), 2, 1);

    for (QLineEdit* edit : m_edits)
        edit->setMinimumWidth(WidthForLetters(*edit, ConfigFields::MaxLength));

    auto* body = new QVBoxLayout;
    body->addWidget(panel);
    SetBody(body);

    m_tabOrder = {BitBtn1, BitBtn2};
    for (QLineEdit* edit : m_edits)
        m_tabOrder.append(edit);
    for (int i = 0; i + 1 < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i], m_tabOrder[i + 1]);
    for (QWidget* control : m_tabOrder)
        control->installEventFilter(this);
}

void TFormConfig::FormKeyDown(QObject* sender, int key, Qt::KeyboardModifiers /*shift*/)
{
    if (key != Qt::Key_Down && key != Qt::Key_Up)
        return;
    const int at = int(m_tabOrder.indexOf(qobject_cast<QWidget*>(sender)));
    if (at < 0)
        return;
    const int count = int(m_tabOrder.size());
    const int next = (at + (key == Qt::Key_Down ? 1 : count - 1)) % count;
    m_tabOrder[next]->setFocus(key == Qt::Key_Down ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

bool TFormConfig::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && control && m_tabOrder.contains(control)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(watched, key->key(), key->modifiers());
        // A push button moves the focus on arrows by itself; let it not move twice.
        if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
            qobject_cast<QPushButton*>(watched))
            return true;
    }
    return EditorDialog::eventFilter(watched, event);
}

int TFormConfig::EditSettings(TZorvexSettings& settings)
{
    ConfigFields fields = ConfigFields::Load(settings);
    for (int i = 0; i < ConfigFields::Count; ++i) {
        const QString text = QString::fromStdString(fields.texts[i]);
        m_validators[i]->Keep(text);
        m_edits[i]->setText(text);
    }
    m_edits[0]->setFocus();

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < ConfigFields::Count; ++i)
        fields.texts[i] = m_edits[i]->text().toStdString();
    fields.Store(settings);
    return mrOk;
}
