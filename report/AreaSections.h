#pragma once

#include "report/ReportModel.h"

#include <QList>

class TZorvexSettings;

// The areas of the configuration as their dialogs show them, read through the editors'
// field tables (editors/fields/EditorAreas.h), in the order of the menus: Telefony (phone numbers, dialing
// parameters, Polpager message), System (access codes, alarm inputs, PGM outputs,
// delays, system options), Monitorowanie (monitoring stations, event codes), Zdarzenia
// (event history). With masked every access code reads "****".
QList<ReportSection> AreaSections(const TZorvexSettings& settings, bool masked);

// The fourteen description records as the description dialog shows them, empty ones
// included: "objectName", "address1", "address2", "description1".."description11".
ReportSection DescriptionSection(const TZorvexSettings& settings);

// A dialog's label as the report prints it: the accelerator "&" removed ("&&" stands
// for a literal "&"), blanks and one closing colon trimmed off (PlainLabelText).
QString PlainLabel(const char* dialogLabel);
