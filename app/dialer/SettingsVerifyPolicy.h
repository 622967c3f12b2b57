#pragma once

#include "document/VerifyPolicy.h"

class QWidget;

// Verify-after-write as the program settings file keeps it ("VerifyAfterWrite" 1 always,
// 0 never, anything else ask) and as the user answers "Zweryfikować zapis odczytem z
// dialera?" over parent. UI thread only.
class SettingsVerifyPolicy : public VerifyAfterWritePolicy
{
public:
    explicit SettingsVerifyPolicy(QWidget* parent) : m_parent(parent) {}

    std::optional<bool> Kept() override;
    VerifyChoice Ask() override;
    // Raises Exception "Unable to write to <file>" when the settings file cannot be written.
    void Keep(bool verify) override;

private:
    QWidget* m_parent;
};
