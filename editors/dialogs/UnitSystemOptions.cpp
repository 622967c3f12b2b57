#include "editors/dialogs/UnitSystemOptions.h"

#include "editors/fields/SystemOptionsFields.h"
#include "model/TZorvexSettings.h"
#include "widgets/RadioGroup.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TFormSystemOptions::TFormSystemOptions(QWidget* parent)
    : EditorDialog(QString::fromUtf8(SystemOptionsFields::Caption), parent)
{
    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    const EditorArea& area = SystemOptionsFields::Table();
    // Two letters of clear space between the longest caption and what stands beside it.
    grid->setHorizontalSpacing(2 * fontMetrics().horizontalAdvance(QLatin1Char('n')));
    for (int i = 0; i < 8; ++i) {
        const EditorField& option = area.fields[i];
        auto* label = new QLabel(QString::fromStdString(option.label), panel);
        label->setObjectName(QString("Label%1").arg(i + 1));
        m_groups[i] = new RadioGroup(
            QString(),
            {QString::fromStdString(option.items[0]), QString::fromStdString(option.items[1])}, 2,
            panel);
        m_groups[i]->setObjectName(QString("RadioGroup%1").arg(i + 1));
        m_groups[i]->SetItemIndex(0);
        // A label's mnemonic focuses only a buddy that takes the focus; the group hands it
        // on to its chosen button.
        m_groups[i]->setFocusPolicy(Qt::StrongFocus);
        label->setBuddy(m_groups[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_groups[i], i, 1);
    }
    auto* body = new QVBoxLayout;
    body->addWidget(panel);
    SetBody(body);
}

int TFormSystemOptions::EditSettings(TZorvexSettings& settings)
{
    SystemOptionsFields fields = SystemOptionsFields::Load(settings);
    for (int i = 0; i < 8; ++i)
        m_groups[i]->SetItemIndex(fields.options[i] ? 1 : 0);

    const int result = ShowModal();
    if (result != mrOk)
        return result;
    for (int i = 0; i < 8; ++i)
        fields.options[i] = m_groups[i]->ItemIndex() != 0;
    fields.Store(settings);
    return mrOk;
}
