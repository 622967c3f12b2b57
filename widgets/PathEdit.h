#pragma once

#include <QLineEdit>

// A field for a file's path. Empty, it shows the path that applies then (the default),
// elided in the middle when the field is too narrow, so that its start and its file name
// stay in view; the whole path, the typed one or the default, is in its tip. UI thread
// only.
class PathEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit PathEdit(QWidget* parent = nullptr);

    void SetDefaultPath(const QString& path);
    const QString& DefaultPath() const { return m_defaultPath; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateHints();

    QString m_defaultPath;
};
