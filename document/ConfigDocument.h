#pragma once

#include "device/ConfigFileResult.h"
#include "device/ExchangeOutcome.h"
#include "device/TZorvexSettingsControl.h"
#include "document/DocumentObserver.h"
#include "model/TZorvexSettings.h"

#include <QObject>
#include <QString>
#include <QTime>

class OutcomeReporter;
class VerifyAfterWritePolicy;

// How a file operation ended. A load the user declines changes nothing.
enum class FileOutcome
{
    Done,
    Declined,
    Failed,
};

struct FileResult
{
    FileOutcome outcome = FileOutcome::Done;
    // Failed: the user's words ("Nieprawidłowy format pliku", "Błąd zapisu pliku", ...).
    QString message;
    // Failed: what the file operation gave, for words with the path and the system's
    // reason (ConfigFile::Message, the command line's).
    ConfigFile::Result result;
};

// The configuration being worked on: the one TZorvexSettings (owned by the dialer link,
// which the document owns), the file it was last loaded from or saved to, and the
// snapshot behind the unsaved marker. Loads and saves return their outcome; exchanges
// with the dialer start here and their ends arrive as exchangeFinished. A good read
// takes the configuration as the dialer's (no file name, unmodified), a good write as
// unmodified, and a good write is followed by the check read the VerifyAfterWritePolicy
// asks for.
//
// Both front ends work through it, so an act takes one path whichever asked for it: the
// window's actions and the commands of "zvx". The observer is told of every act the
// user would call one (load, save, read, write, verify, restart), the same way from
// both; opening a file to work on (a command's input, a template, a comparison) is no
// such act and is told to nobody.
//
// Messages of the link (the exchanges' boxes, the question before a load) go to the
// reporter given at construction; the document adds none of its own.
//
// Thread: the thread that constructed it (the UI thread), running a Qt event loop.
class ConfigDocument : public QObject
{
    Q_OBJECT

public:
    // The reporter must outlive the document.
    explicit ConfigDocument(OutcomeReporter& reporter, QObject* parent = nullptr);
    ~ConfigDocument() override;

    TZorvexSettingsControl& Link() { return m_link; }
    TZorvexSettings& Settings() { return m_link.Settings(); }
    const TZorvexSettings& Settings() const { return m_link.Settings(); }

    // The file the configuration was last loaded from or saved to; empty when it came
    // from the defaults or the dialer.
    const QString& FileName() const { return m_fileName; }
    // Whether the configuration differs from what was last loaded, saved, read from or
    // written to the dialer, or set to the defaults (image byte 0, the checksum the link
    // fills in before a write, does not count).
    bool Modified() const;
    // Takes the configuration as it is now as the unchanged one.
    void MarkUnmodified();

    // The factory configuration, with no file name.
    void LoadDefaults();
    // The user's load (the link's LoadFromFile): asks the reporter's Confirm with the
    // file's record 0 text before the configuration is replaced: Done (loaded; the file
    // becomes the document's), Declined, or Failed (nothing changed). Told to the
    // observer when loaded.
    FileResult Load(const QString& fileName);
    // The file a command works on: read and checked, it becomes the document's
    // configuration and file without a question, and the observer hears nothing (what
    // the command then does with it is the act). Done or Failed (nothing changed).
    FileResult Open(const QString& fileName);
    // The link's SaveToFile: Done (the file becomes the document's) or Failed; told to
    // the observer either way.
    FileResult Save(const QString& fileName);
    // Saves a configuration that is not the document's (an archive entry's) to fileName,
    // told to the observer as a save; the document itself stays as it is.
    FileResult SaveCopy(const TZorvexSettings& settings, const QString& fileName);
    // Reads and checks a file into settings without asking and without touching the
    // document (comparisons, templates, the report's "file differs" note): Done or Failed.
    static FileResult ReadFile(const QString& fileName, TZorvexSettings& settings);

    // Exchanges with the dialer (TZorvexSettingsControl). Each returns at once; its end
    // arrives as exchangeFinished. A start that fails (the port cannot be opened: EComPort)
    // emits exchangeFinished with the error's message, then throws it on. A write or a
    // check read names the document's file when the configuration is still exactly that
    // file's; a read and a restart name none.
    void Read();
    void Write();
    // A check read: the configuration stays as it is; after a good one DialerImage()
    // holds what the dialer holds.
    void Verify();
    // hour and minute of time.
    void Restart(const QTime& time);
    const TCfg& DialerImage() const { return m_dialerImage; }
    // Ends the exchange in progress as a failure with reason as its message (the user
    // broke it off): exchangeFinished as for any failure. False when none was running.
    bool Cancel(const QString& reason);

    // Consulted after each good write; none (the default) means never verify. The policy
    // must outlive the document or be replaced first.
    void SetVerifyPolicy(VerifyAfterWritePolicy* policy) { m_verifyPolicy = policy; }

    // Told of every load, save and exchange (the archive); none by default. Must outlive
    // the document or be replaced first.
    void SetObserver(DocumentObserver* observer) { m_observer = observer; }

signals:
    // An exchange has ended, its message has been given, and the document has taken its
    // result in (FileName, Modified). Once per started exchange.
    void exchangeFinished(const ExchangeOutcome& outcome);
    // FileName or the unchanged snapshot has changed: the title is due.
    void changed();

private:
    template <class Start> void Begin(ConfigEvent event, Start start);
    void ExchangeDone(const ExchangeOutcome& outcome);
    // After a good write, outside the port's handling.
    void OfferVerification();
    void Notify(ConfigEvent event, bool succeeded, const QString& message, const QString& fileName,
                const TZorvexSettings& passed);
    // The file from now on, with the configuration as it holds it.
    void TakeFile(const QString& fileName);
    // The file the configuration is exactly the content of; empty when none.
    QString FileOfConfiguration() const;

    TZorvexSettingsControl m_link;
    QString m_fileName;
    TZorvexSettings m_fileContent; // the configuration as m_fileName holds it
    TZorvexSettings m_unmodified;
    TCfg m_dialerImage;
    VerifyAfterWritePolicy* m_verifyPolicy = nullptr;
    DocumentObserver* m_observer = nullptr;
};
