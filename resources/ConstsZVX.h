#pragma once

// The program's own message texts, exactly as the user reads them (UTF-8 here; the
// Windows tool kept them in code page 1250). Plain C++ so that every layer may use it.
namespace ConstsZVX {

// Message-box titles and captions.
inline constexpr const char* TitleProgram = "Zorvex";
inline constexpr const char* TitleInformation = "Informacja";
inline constexpr const char* TitleError = "Błąd";
inline constexpr const char* TitleConfirmation = "Potwierdź";
inline constexpr const char* ButtonOk = "OK";
inline constexpr const char* ButtonYes = "&Tak";
inline constexpr const char* ButtonCancel = "Anuluj";
inline constexpr const char* ButtonNo = "&Nie";

// Errors nobody above could catch, and the settings file.
inline constexpr const char* UnknownError = "Nieznany błąd";
inline constexpr const char* IniWriteError = "Unable to write to %s";
// A settings file that is not a regular file of sane size is neither read nor replaced
// (%s: the file's name; the second %s of SettingsUnreadable: the system's reason).
inline constexpr const char* SettingsNotRegular = "Plik ustawień %s nie jest zwykłym plikiem.";
inline constexpr const char* SettingsTooLarge =
    "Plik ustawień %s jest za duży (ponad 1048576 bajtów).";
inline constexpr const char* SettingsUnreadable = "Nie można odczytać pliku ustawień %s (%s).";
inline constexpr const char* SettingsDefaultsUsed = " Program używa ustawień domyślnych.";
inline constexpr const char* SettingsNotChanged = " Plik nie został zmieniony.";
// The command-line tool's former settings file beside the shared one (%s: the former
// file, the shared one).
inline constexpr const char* SettingsFormerRead =
    "Ustawienia wczytano z dawnego pliku %s: okno i zvx mają teraz wspólny plik %s "
    "(zmień nazwę pliku).";
inline constexpr const char* SettingsFormerIgnored =
    "Dawny plik ustawień %s nie jest już czytany: okno i zvx mają wspólny plik %s.";

inline constexpr const char* ProgramCaption = "Programator dialera Zorvex";

// Image and record indices.
inline constexpr const char* RangeIndex = "Index %d poza prawidłowym zakresem: %d..%d";
inline constexpr const char* RangeIndexPlusCount =
    "Index + Count %d poza prawidłowym zakresem: %d..%d";

// Dialer link.
inline constexpr const char* RestartDone = "Zainicjowano pracę Dialera";
inline constexpr const char* WriteDone = "Konfiguracja zapisana poprawnie";
inline constexpr const char* ReadDone = "Konfiguracja odczytana poprawnie";
inline constexpr const char* BadRecordChecksum = "Błędna suma kontrolna rekordu";
inline constexpr const char* BadImageChecksum = "Błąd sumy kontrolnej odczytanej konfiguracji";
inline constexpr const char* RestartNoAnswer = "Dialer nie odpowiada na komendę";
inline constexpr const char* TransferNoAnswer = "Błędy w transmisji RS lub Dialer nie odpowiada";
// An exchange that had to resend a frame reads the dialer's image back (a write) or once
// more (a read) before it is called a success; these end one whose check failed.
inline constexpr const char* WriteNotConfirmed =
    "Nie udało się potwierdzić zapisu: Dialer może zawierać częściowo zapisaną konfigurację. "
    "Powtórz zapis.";
inline constexpr const char* ReadNotConfirmed =
    "Nie udało się potwierdzić odczytu z Dialera. Powtórz operację.";
inline constexpr const char* ReadSourceRecord = "Konfiguracja odczytana z Dialera ZVX";
inline constexpr const char* ReadDateRecord = "Data: %s     Godz: %s";

// "Dziennik transmisji": a log that cannot be saved (%s: the file, the system's reason).
inline constexpr const char* LogSaveError = "Nie można zapisać dziennika %s: %s";

// The Windows program's archive: no PostgreSQL client library is built for Windows.
inline constexpr const char* ArchivePostgresNotOnWindows =
    "Program w systemie Windows przechowuje archiwum tylko w bazie SQLite na tym komputerze: "
    "archiwum w bazie PostgreSQL nie jest dostępne.";

// Emulated dialer.
inline constexpr const char* EmulatorLineError = "Nie można utworzyć linii emulowanego dialera: %s";
// The emulated dialer needs a pseudo-terminal, which Windows lacks.
inline constexpr const char* EmulatorLinuxOnly =
    "Emulowany dialer działa tylko w systemie Linux. W systemie Windows program łączy się z "
    "dialerem przez port szeregowy (COM1–COM16).";

// Configuration files.
inline constexpr const char* FileSaveError = "Błąd zapisu pliku";
inline constexpr const char* FileFormatError = "Nieprawidłowy format pliku";
inline constexpr const char* FileSizeError = "Nieprawidłowy rozmiar pliku";
inline constexpr const char* FileReadError = "Błąd odczytu pliku";
// Why a save refuses a device, FIFO or socket in place of a configuration file.
inline constexpr const char* NotRegularFile = "to nie jest zwykły plik";
// The standard output cannot take what a command prints.
inline constexpr const char* OutputError = "Błąd zapisu wyjścia standardowego";
inline constexpr const char* FileSaved = "Konfiguracja została zapisana w zbiorze: %s";

// Main window and progress.
inline constexpr const char* ConfirmWrite = "Czy zapisać konfigurację do Dialera?";
inline constexpr const char* ConfirmRead = "Czy odczytać konfigurację z Dialera?";
inline constexpr const char* NewConfiguration = "Inicjacja konfiguracji domyślnej";
inline constexpr const char* PrintError = "Błąd drukowania";
inline constexpr const char* Untitled = "bez nazwy";
inline constexpr const char* SaveChanges = "Zapisać zmiany w konfiguracji?";
inline constexpr const char* ProgressConnecting = "Proszę czekać, trwa łączenie z Dialerem... ";
inline constexpr const char* ProgressTransfer = "Proszę czekać, trwa przesyłanie danych... ";
inline constexpr const char* ProgressRetry = "Brak odpowiedzi, kolejna próba...";
// While an exchange that resent a frame is being confirmed (see WriteNotConfirmed).
inline constexpr const char* ProgressConfirmWrite = "Proszę czekać, trwa sprawdzanie zapisu... ";
inline constexpr const char* ProgressConfirmRead = "Proszę czekać, trwa sprawdzanie odczytu... ";

// Option and time editors.
inline constexpr const char* NotValidInteger = "'%s' is not a valid integer value";
inline constexpr const char* HistoryNotSet = "NIE BYŁO";
inline constexpr const char* TestTimeReplaced =
    "Zapisany czas testu był nieprawidłowy; pokazano 00:00";

// Number and code editors.
inline constexpr const char* PolpagerTooLong = "Za długi komunikat do Polpagera";
inline constexpr const char* BadData = "Błędne dane";
inline constexpr const char* CodesRepeated = "Kody nie mogą się powtarzać";

// A field written from a text (zvx set): what no dialog control can produce.
inline constexpr const char* FieldNotAnItem = "'%s' nie jest jedną z wartości: %s";
inline constexpr const char* FieldNotATime = "'%s' nie jest godziną w postaci GG:MM";
inline constexpr const char* FieldReadOnly = "Tego pola nie można zmienić (pokazuje: '%s')";
inline constexpr const char* HistoryOnlyReset = "Godzinę zdarzenia można tylko wyzerować: NIE BYŁO";
inline constexpr const char* FieldKeyRefused = "'%s': w to pole można wpisać tylko znaki %s";
inline constexpr const char* FieldTooLong = "'%s': w to pole można wpisać najwyżej %s znaków";
inline constexpr const char* FieldOutOfRange = "'%s': w to pole można wpisać liczbę z zakresu %s";
// A character the description records' code page (Windows-1250) lacks, or a control
// character (%s: the text, then the character as U+XXXX and, when it can be shown, itself).
inline constexpr const char* FieldCharRefused =
    "'%s': w to pole nie można wpisać znaku %s (tylko znaki kodowania Windows-1250, bez znaków "
    "sterujących)";
// A document giving a description record twice, under "records" and in the description
// area, with different texts, neither of them the record's own (told after both keys; %s:
// the two texts).
inline constexpr const char* DescriptionConflict =
    "różne teksty tego samego rekordu opisu ('%s' i '%s'); zmień tylko jeden z nich";
// A value too long to quote whole (%s: its first characters, its length in characters).
inline constexpr const char* ValueCut = "%s… (długość tekstu: %s)";
// A configuration document (zvx apply, zvx new --from) larger than any real one (%s: the
// limit in bytes), and the hint while one is typed on a terminal.
inline constexpr const char* DocumentTooLarge = "Dokument JSON jest za duży (ponad %s bajtów)";
inline constexpr const char* DocumentFromTerminal =
    "Czytam dokument JSON ze standardowego wejścia; zakończ go klawiszami Ctrl+D.";

// Configuration report (print, PDF, zvx show).
inline constexpr const char* ReportCustomerCopy = "Kopia dla klienta (bez kodów dostępu)";
inline constexpr const char* ReportMaskedCode = "****";
inline constexpr const char* ReportFile = "Plik";
inline constexpr const char* ReportFileChanged = "(konfiguracja różni się od zapisanej w pliku)";
inline constexpr const char* ReportPrinted = "Data wydruku";
inline constexpr const char* ReportEntryDate = "Data wpisu";
inline constexpr const char* ReportFingerprint = "Suma kontrolna (CRC-32)";
inline constexpr const char* ReportNone = "brak";
inline constexpr const char* ReportPage = "Strona %d z %d";
inline constexpr const char* ReportPdfTitle = "Zapis raportu do pliku PDF";
inline constexpr const char* ReportPdfSaved = "Raport został zapisany w pliku: %s";

// Differences between configurations and the check of the dialer after a write.
inline constexpr const char* DiffNotEditedArea = "Bajty nieedytowane";
inline constexpr const char* DiffByte = "Bajt %d";
inline constexpr const char* DiffRecordLine = "%s (wiersz %d)";
inline constexpr const char* DiffEqual = "Konfiguracje są zgodne";
inline constexpr const char* DiffFileTitle = "Porównanie z plikiem konfiguracji";
inline constexpr const char* DiffFileHeading =
    "Konfiguracja w programie różni się od zapisanej w pliku %s:";
inline constexpr const char* VerifyEqual = "Konfiguracja dialera zgodna z konfiguracją w programie";
inline constexpr const char* VerifyHeading =
    "Konfiguracja dialera różni się od konfiguracji w programie:";
inline constexpr const char* VerifyAfterWrite = "Zweryfikować zapis odczytem z dialera?";
inline constexpr const char* VerifyDontAskAgain = "Nie pytaj ponownie";
inline constexpr const char* DiffDialogCaption = "Różnice konfiguracji";
inline constexpr const char* DiffColumnArea = "Obszar";
inline constexpr const char* DiffColumnField = "Pole";
inline constexpr const char* DiffColumnProgram = "W programie";
inline constexpr const char* DiffColumnFile = "W pliku";
inline constexpr const char* DiffColumnDialer = "W dialerze";
inline constexpr const char* ButtonClose = "&Zamknij";

// Copying whole areas from another configuration file.
inline constexpr const char* CopyAreasTitle = "Kopiowanie obszarów z pliku";
inline constexpr const char* CopyAreasChoose = "Obszary do skopiowania z pliku %s:";
inline constexpr const char* CopyAreasHeading =
    "Skopiowanie obszarów z pliku %s zmieni konfigurację w programie:";
inline constexpr const char* CopyAreasConfirm =
    "Skopiować zaznaczone obszary do konfiguracji w programie?";
inline constexpr const char* CopyAreasNothing = "Wybrane obszary są takie same jak w pliku";

// The archive of configurations. Out of reach: the status bar's sentence (%s: how many
// entries wait) and the archive window's box; the archive's own words go under "Szczegóły".
inline constexpr const char* ArchiveUnreachable =
    "Archiwum jest niedostępne; wpisy poczekają w kolejce lokalnej";
inline constexpr const char* ArchiveEntriesWaiting =
    "Archiwum jest niedostępne; w kolejce lokalnej wpisów: %s";
inline constexpr const char* ArchiveEntryLost =
    "Archiwum i kolejka lokalna są niedostępne; wpis przepadł";
inline constexpr const char* ArchiveDetails = "Szczegóły";
inline constexpr const char* ArchivePasswordRefused =
    "Hasło do archiwum nie może być w pliku ustawień: użyj pliku ~/.pgpass lub pliku usług "
    "PostgreSQL";
// The archive window's list: how many entries match and how many are shown.
inline constexpr const char* ArchiveNoMatch = "Brak pasujących wpisów";
inline constexpr const char* ArchiveSearching = "Wyszukiwanie w archiwum...";
inline constexpr const char* ArchiveShownCounting =
    "Pokazano %s pasujących wpisów; trwa liczenie wszystkich";
inline constexpr const char* ArchiveShownAll = "Pasujące wpisy: %s";
inline constexpr const char* ArchiveShownSome =
    "Pokazano %s z %s pasujących wpisów; kolejne pojawią się przy przewijaniu listy";
// Restoring an entry into the program (%s: the entry's number; then what it holds).
inline constexpr const char* ArchiveRestoreConfirm =
    "Zastąpić zmienioną konfigurację w programie konfiguracją z wpisu %s archiwum?";
inline constexpr const char* ArchiveRestored = "Przywrócono konfigurację z wpisu %s archiwum: %s";
// A column of differences that shows an entry (%s: its number, its date).
inline constexpr const char* ArchiveEntryColumn = "Wpis %s z %s";

// Serial port: the messages of EComPort codes 1 to 19 (index 0 unused), and what follows
// them when the operating system gave an error code.
inline constexpr const char* ComPortErrors[20] = {
    "",
    "Nie można otworzyć portu COM\r(port niedostępny lub otwarty przez inną aplikację)",
    "Błąd funkcji WriteFile",
    "Błąd funkcji ReadFile",
    "Nieprawidłowy parametr Async",
    "Błąd funkcji PurgeComm",
    "Nie można pobrać stanu async",
    "Błąd funkcji SetCommState",
    "Błąd funkcji SetCommTimeouts",
    "Błąd funkcji SetupComm",
    "Błąd funkcji ClearCommError",
    "Błąd funkcji GetCommModemStatus",
    "Błąd funkcji EscapeCommFunction",
    "Błąd funkcji TransmitCommChar",
    "Nie można wywołać SyncMethod dopóki trwa połączenie",
    "Błąd funkcji EnumPorts",
    "Błąd w zapisie ustawień",
    "Błąd przy ładowaniu ustawień",
    "Błąd od(rejestrowania) połączenia terminala",
    "Nie można zmienić stanu led dopóki ComPort jest wybrany"};
inline constexpr const char* ComPortErrorCode = " (win error code: %d)";
// The line went away during a transfer: the second line of its code 2 or 3 message.
inline constexpr const char* PortGone =
    "Połączenie z portem zostało zerwane (odłączona przejściówka USB?). "
    "Podłącz ją i powtórz operację.";
// The driver put a rate on the line too far from the dialer's (%d: bit/s asked, bit/s
// set): instead of code 7's entry.
inline constexpr const char* RateNotKept =
    "Przejściówka nie obsługuje prędkości %d bit/s (ustawiła %d bit/s)";

// The archive of configurations and its settings ([Archive] of the settings file).
inline constexpr const char* ArchiveDatabaseUnknown =
    "Nieznany rodzaj archiwum Database=%s w pliku ustawień: dozwolone wartości to sqlite "
    "i postgresql";
inline constexpr const char* ArchiveKeepUnreadable =
    "Nieprawidłowa wartość %s=%s w sekcji [Archive] pliku ustawień: potrzebna liczba "
    "całkowita 0 lub większa";
inline constexpr const char* FolderUnreadable = "Nie można odczytać folderu %s (%s)";
inline constexpr const char* ArchivePruneRefused = "Archiwum nie zostało wyczyszczone: %s";
inline constexpr const char* ArchiveConnectionInvalid =
    "Nieprawidłowe połączenie z archiwum (Connection=): potrzebne pary parametr=wartość, np. "
    "host=serwer dbname=zorvex";
inline constexpr const char* ArchiveUri =
    "Adres postgresql://... nie jest obsługiwany: wpisz połączenie jako parametry, np. "
    "host=serwer dbname=zorvex";
inline constexpr const char* ArchiveFileForeign =
    "Archiwum %s należy do innego użytkownika: nie zostało otwarte";
inline constexpr const char* ArchiveFileNotRegular =
    "Archiwum %s nie jest zwykłym plikiem: nie zostało otwarte";
inline constexpr const char* ArchiveQueueSetAside =
    "Uszkodzona kolejka archiwum przeniesiona do %s; nowe wpisy czekają w nowej kolejce";
inline constexpr const char* ArchiveTimedOut = "archiwum nie odpowiedziało w ciągu %d s";
// The command was ended (Ctrl+C) while it waited on the archive.
inline constexpr const char* ArchiveInterrupted = "przerwano";
// Why the archive failed, in place of the database's own words where they say it less
// plainly.
inline constexpr const char* ArchiveDiskFull = "brak miejsca na dysku";
inline constexpr const char* ArchiveLocked = "archiwum jest zablokowane przez inny program";
inline constexpr const char* ArchiveReadOnly = "brak prawa zapisu";
inline constexpr const char* ArchiveDiskError = "błąd odczytu lub zapisu dysku";

// The transmission log of "zvx --log FILE".
inline constexpr const char* LogNotOwnFile =
    "Dziennik %s nie może być zapisany: to nie jest zwykły plik tego użytkownika";
inline constexpr const char* LogIsInput =
    "Dziennik %s nie może być zapisany: to plik, na którym pracuje polecenie";
inline constexpr const char* LogOpenError = "Nie można zapisać dziennika %s: %s";
inline constexpr const char* LogWriteError = "Błąd zapisu dziennika %s: %s";

} // namespace ConstsZVX
