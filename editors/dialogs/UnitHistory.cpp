#include "editors/dialogs/UnitHistory.h"

#include "editors/fields/HistoryFields.h"
#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormHistory::TFormHistory(QWidget* parent)
    : EditorDialog(QString::fromUtf8(HistoryFields::Caption), parent),
      BitBtn3(new QPushButton(tr("&Wyzeruj"), this))
{
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    connect(BitBtn3, &QPushButton::clicked, this, &TFormHistory::BitBtn3Click);
    AddButton(BitBtn3);
    setTabOrder(BitBtn1, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    // Two letters of clear space between the longest caption and what stands beside it.
    grid->setHorizontalSpacing(2 * fontMetrics().horizontalAdvance(QLatin1Char('n')));
    QPalette navy;
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    for (int i = 0; i < 4; ++i) {
        auto* caption = new QLabel(FieldLabel(HistoryFields::Table().fields[i]), panel);
        caption->setObjectName(QString("Label%1").arg(2 * i + 1));
        m_values[i] = new QLabel(QString::fromUtf8(ConstsZVX::HistoryNotSet), panel);
        m_values[i]->setObjectName(QString("Label%1").arg(2 * i + 2));
        m_values[i]->setPalette(navy);
        grid->addWidget(caption, i, 0);
        grid->addWidget(m_values[i], i, 1);
    }
    grid->setColumnMinimumWidth(1, 80);
    auto* body = new QVBoxLayout;
    body->addWidget(panel);
    SetBody(body);
}

void TFormHistory::BitBtn3Click()
{
    ResetRequested = true;
    for (QLabel* value : m_values)
        value->setText(QString::fromUtf8(ConstsZVX::HistoryNotSet));
}

int TFormHistory::EditSettings(TZorvexSettings& settings)
{
    ResetRequested = false;
    HistoryFields fields = HistoryFields::Load(settings);
    for (int i = 0; i < 4; ++i)
        m_values[i]->setText(QString::fromStdString(fields.times[i]));

    const int result = ShowModal();
    if (result == mrOk && ResetRequested) {
        fields.Reset();
        fields.Store(settings);
    }
    return result;
}
