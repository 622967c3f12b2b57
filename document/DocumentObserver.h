#pragma once

#include "model/ConfigEvent.h"
#include "model/TZorvexSettings.h"

#include <QString>

// An event of the document that a configuration passed through: a read from the dialer,
// a write into it, a check read, a restart, a file loaded or saved. Valid only during
// the call that hands it over.
struct DocumentEvent
{
    ConfigEvent event;
    bool succeeded;
    QString message; // the user's words for a failure
    // The file loaded or saved, or the file whose configuration a write sent or a check
    // read compared (only while the configuration is exactly that file's); as given.
    QString fileName;
    QString port; // the port of an exchange; empty for a file
    // What passed through: after a check read, the dialer's image with the document's
    // records; otherwise the document's configuration as it stands after the event.
    const TZorvexSettings& settings;
};

// Told of every event of the document, after the document has taken it in (and, for an
// exchange, before exchangeFinished). Must not throw; UI thread.
class DocumentObserver
{
public:
    virtual ~DocumentObserver() = default;
    virtual void DocumentEventHappened(const DocumentEvent& event) = 0;
};
