#pragma once

#include "report/ConfigDiff.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class TCfg;
class TZorvexSettings;

// "Różnice konfiguracji": the differences between the configuration in memory and a
// file or the dialer, one line each (area, field, the two values), with "&Zamknij".
// UI thread only.
class DifferencesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DifferencesDialog(QWidget* parent = nullptr);

    // heading: the sentence above the list; columnA, columnB: what the value columns
    // hold ("W programie", "W dialerze").
    void SetDifferences(const QString& heading, const QString& columnA, const QString& columnB,
                        const QList<ConfigDifference>& differences);

    QLabel* Label1;
    QTreeWidget* ListView1;
    QPushButton* BitBtn1;
};

// No differences: the information box equalText over parent; else the dialog listing
// them under heading, the program's values against columnB's, run by run (exec() when
// run is empty).
void ShowDifferences(const QList<ConfigDifference>& differences, const QString& equalText,
                     const QString& heading, const QString& columnB, QWidget* parent,
                     const std::function<void(DifferencesDialog& dialog)>& run);
// The same with both value columns named: what is compared is not the program's.
void ShowDifferences(const QList<ConfigDifference>& differences, const QString& equalText,
                     const QString& heading, const QString& columnA, const QString& columnB,
                     QWidget* parent, const std::function<void(DifferencesDialog& dialog)>& run);
// After a verification: how the program's image differs from the one the dialer holds
// (the description records stay on the PC and are not compared), as ShowDifferences.
void ShowDialerDifferences(const TZorvexSettings& program, const TCfg& dialer, QWidget* parent,
                           const std::function<void(DifferencesDialog& dialog)>& run);
