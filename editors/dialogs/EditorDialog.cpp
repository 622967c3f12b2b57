#include "editors/dialogs/EditorDialog.h"

#include "editors/fields/EditorAreas.h"
#include "editors/fields/EditorField.h"

#include <QLabel>

#include "widgets/ErrorGuard.h"
#include "widgets/FocusLabel.h"
#include "widgets/HelpKey.h"
#include "widgets/RadioGroup.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

EditorDialog::EditorDialog(const QString& caption, QWidget* parent)
    : QDialog(parent), BitBtn1(new QPushButton(tr("&OK"), this)),
      BitBtn2(new QPushButton(tr("&Anuluj"), this))
{
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2->setObjectName("BitBtn2");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &EditorDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &EditorDialog::reject);
    HelpKey::Bind(this, HelpPage(caption));
}

QString EditorDialog::HelpPage(const QString& caption)
{
    // The manual has one page per area, named by the area's key; the area is found by the
    // caption its dialog shows.
    for (const EditorArea* area : EditorAreas())
        if (QString::fromUtf8(area->caption) == caption)
            return QString::fromUtf8(area->key) + QStringLiteral(".html");
    return QStringLiteral("index.html");
}

void EditorDialog::SetBody(QLayout* body)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    for (QPushButton* button : m_extraButtons)
        buttons->addWidget(button);
    buttons->addWidget(BitBtn2);
    auto* main = new QVBoxLayout(this);
    main->addLayout(body);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void EditorDialog::AddButton(QPushButton* button)
{
    m_extraButtons.append(button);
}

int EditorDialog::ShowModal()
{
    return exec();
}

void EditorDialog::EnterPressesOk(QWidget* field)
{
    m_enterFields.append(field);
    field->installEventFilter(this);
}

void EditorDialog::DiscardControlCharacters(QWidget* field)
{
    m_plainFields.append(field);
    field->installEventFilter(this);
}

void EditorDialog::reject()
{
    done(mrCancel);
}

void EditorDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Tab orders start with the buttons; a dialog that chose no opening focus opens in its
    // first field, so that typing goes there and Space does not press OK.
    if (!focusWidget())
        FocusFirstField();
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

bool EditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    if (m_enterFields.contains(watched) && press &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        !(key->modifiers() & ~Qt::KeypadModifier)) {
        BitBtn1->click();
        return true;
    }
    static const QList<int> controlLetters{Qt::Key_A, Qt::Key_C, Qt::Key_V,
                                           Qt::Key_X, Qt::Key_Y, Qt::Key_Z};
    if (m_plainFields.contains(watched) && key->modifiers() == Qt::ControlModifier &&
        controlLetters.contains(key->key())) {
        // Taking the override keeps the key from any shortcut; the press then does nothing.
        event->accept();
        return press;
    }
    return QDialog::eventFilter(watched, event);
}

void EditorDialog::BitBtn1Click()
{
    bool accepted = false;
    ErrorGuard::RunGuarded([&] { accepted = CanClose(); });
    if (accepted)
        done(mrOk);
}

QString EditorDialog::FieldLabel(const EditorField& field)
{
    return QString::fromStdString(field.label);
}

QStringList EditorDialog::FieldItems(const EditorField& field)
{
    QStringList items;
    for (const std::string& item : field.items)
        items << QString::fromStdString(item);
    return items;
}

void EditorDialog::FocusFirstField()
{
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (!isAncestorOf(w) || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(this) ||
            !w->isEnabled() || w->focusProxy() || qobject_cast<QPushButton*>(w))
            continue;
        // A group of options is entered at its chosen button, as Tab enters it.
        if (auto* group = qobject_cast<RadioGroup*>(w->parentWidget());
            group && qobject_cast<QRadioButton*>(w))
            group->setFocus(Qt::TabFocusReason);
        else
            w->setFocus(Qt::TabFocusReason);
        return;
    }
}

QLabel* EditorDialog::NewLabel(const QString& text, const QString& name, QWidget* buddy,
                               QWidget* parent)
{
    auto* label = new FocusLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}
