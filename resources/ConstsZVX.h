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
inline constexpr const char* ReadSourceRecord = "Konfiguracja odczytana z Dialera ZVX";
inline constexpr const char* ReadDateRecord = "Data: %s     Godz: %s";

// Configuration files.
inline constexpr const char* FileSaveError = "Błąd zapisu pliku";
inline constexpr const char* FileFormatError = "Nieprawidłowy format pliku";
inline constexpr const char* FileSizeError = "Nieprawidłowy rozmiar pliku";
inline constexpr const char* FileReadError = "Błąd odczytu pliku";
inline constexpr const char* FileSaved = "Konfiguracja została zapisana w zbiorze: %s";

// Main window and progress.
inline constexpr const char* ConfirmWrite = "Czy zapisać konfigurację do Dialera?";
inline constexpr const char* ConfirmRead = "Czy odczytać konfigurację z Dialera?";
inline constexpr const char* NewConfiguration = "Inicjacja konfiguracji domyślnej";
inline constexpr const char* ProgressConnecting = "Proszę czekać, trwa łączenie z Dialerem... ";
inline constexpr const char* ProgressTransfer = "Proszę czekać, trwa przesyłanie danych... ";
inline constexpr const char* ProgressRetry = "Brak odpowiedzi, kolejna próba...";

} // namespace ConstsZVX
