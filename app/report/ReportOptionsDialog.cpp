#include "app/report/ReportOptionsDialog.h"

#include "app/DialogButtons.h"
#include "resources/ConstsZVX.h"
#include "widgets/HelpKey.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {
CustomerCopyHandler& Handler()
{
    static CustomerCopyHandler handler;
    return handler;
}

// The last choice, for the next report of this run.
bool& LastChoice()
{
    static bool masked = false;
    return masked;
}
} // namespace

ReportOptionsDialog::ReportOptionsDialog(const QString& title, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormReportOptions"));
    HelpKey::Bind(this, QStringLiteral("wydruk.html"));
    setWindowTitle(title);

    CheckBox1 = new QCheckBox(QString::fromUtf8(ConstsZVX::ReportCustomerCopy), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QHBoxLayout* buttons = OkCancelRow(this, QStringLiteral("&OK"), BitBtn1, BitBtn2);
    auto* body = new QVBoxLayout(this);
    body->addWidget(CheckBox1);
    body->addSpacing(8);
    body->addLayout(buttons);
    body->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<bool> AskCustomerCopy(const QString& title, QWidget* parent)
{
    if (Handler())
        return Handler()();
    ReportOptionsDialog dialog(title, parent);
    dialog.CheckBox1->setChecked(LastChoice());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    LastChoice() = dialog.CheckBox1->isChecked();
    return LastChoice();
}

CustomerCopyHandler InstallCustomerCopyHandler(CustomerCopyHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
