#include "app/files/DifferencesDialog.h"

#include "model/TZorvexSettings.h"
#include "resources/ConstsZVX.h"
#include "widgets/HelpKey.h"
#include "widgets/MessageBox.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

DifferencesDialog::DifferencesDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormDifferences"));
    HelpKey::Bind(this, QStringLiteral("porownanie.html"));
    setWindowTitle(Text(ConstsZVX::DiffDialogCaption));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setMinimumSize(640, 300);

    BitBtn1 = new QPushButton(Text(ConstsZVX::ButtonClose), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ListView1);
    layout->addLayout(buttons);
}

void DifferencesDialog::SetDifferences(const QString& heading, const QString& columnA,
                                       const QString& columnB,
                                       const QList<ConfigDifference>& differences)
{
    Label1->setText(heading);
    ListView1->clear();
    ListView1->setHeaderLabels(
        {Text(ConstsZVX::DiffColumnArea), Text(ConstsZVX::DiffColumnField), columnA, columnB});
    for (const ConfigDifference& d : differences) {
        auto* item = new QTreeWidgetItem(ListView1, {d.area, d.field, d.a, d.b});
        // A long Polpager message or description line is read in full from the tip.
        for (int column = 2; column < 4; ++column)
            item->setToolTip(column, item->text(column));
    }
    for (int column = 0; column < 4; ++column)
        ListView1->resizeColumnToContents(column);
}

void ShowDifferences(const QList<ConfigDifference>& differences, const QString& equalText,
                     const QString& heading, const QString& columnB, QWidget* parent,
                     const std::function<void(DifferencesDialog& dialog)>& run)
{
    ShowDifferences(differences, equalText, heading, Text(ConstsZVX::DiffColumnProgram), columnB,
                    parent, run);
}

void ShowDifferences(const QList<ConfigDifference>& differences, const QString& equalText,
                     const QString& heading, const QString& columnA, const QString& columnB,
                     QWidget* parent, const std::function<void(DifferencesDialog& dialog)>& run)
{
    if (differences.isEmpty()) {
        MessageDlg(mkInformation, equalText, mbOk, parent);
        return;
    }
    DifferencesDialog dialog(parent);
    dialog.SetDifferences(heading, columnA, columnB, differences);
    if (run)
        run(dialog);
    else
        dialog.exec();
}

void ShowDialerDifferences(const TZorvexSettings& program, const TCfg& dialer, QWidget* parent,
                           const std::function<void(DifferencesDialog& dialog)>& run)
{
    TZorvexSettings read;
    read.Cfg = dialer;
    ShowDifferences(ConfigDifferences(program, read, dsImage), Text(ConstsZVX::VerifyEqual),
                    Text(ConstsZVX::VerifyHeading), Text(ConstsZVX::DiffColumnDialer), parent, run);
}
