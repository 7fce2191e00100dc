// Resource strings by number. The class library's own texts are German, in
// code page 1252; units register further tables at start-up.
#pragma once
#include <initializer_list>
#include <string>
#include <utility>

enum TClassLibString : int {
    SInvalidPropertyValue = 65280,  // "Ungültiger Wert der Eigenschaft"
    SReadError,                     // "Stream-Read-Fehler"
    SWriteError,                    // "Stream-Write-Fehler"
    SInvalidImage,                  // "Ungültiges Stream-Format"
    SClassNotFound,                 // "Klasse %s nicht gefunden"
    SAbstractClass,                 // "Von der Klasse %s kann keine Instanz angelegt werden"
    SPropertyNoAccess,              // "Kein Zugriff auf die Eigenschaft %s"
    SUnknownProperty,               // "Eigenschaft %s existiert nicht"
    SInvalidInteger,                // "'%s' ist kein gültiger Integerwert"
    SAssignError,                   // "%s kann nicht zu %s zugewiesen werden"
    SListIndexError,                // "Listenindex überschreitet das Maximum (%d)"
    SDuplicateString,               // "Stringliste erlaubt keine Duplikate"
    SSortedListError,               // "Operation bei sortierten Listen nicht zulässig"
    SDuplicateName,                 // "Eine Komponente mit der Bezeichnung %s existiert bereits"
    SInvalidName,                   // "''%s'' ist kein gültiger Komponentenname"
    SFCreateError,                  // "Datei %s kann nicht erstellt werden"
    SFOpenError,                    // "Datei %s kann nicht geöffnet werden"
    SInvalidFileName,               // "Ungültiger Dateiname - %s"
    SMethodNotFound,                // "Methode %s nicht gefunden"
    SUnresolvedReference,           // "Unaufgelöste Referenz auf %s"
    SInvalidFormat,                 // "Format '%s' ungültig oder nicht kompatibel mit Argument"
    SArgumentMissing,               // "Kein Argument für Format '%s'"
    SParseError,                    // "%s in Zeile %d"
    SOutOfMemory,                   // "Zu wenig Arbeitsspeicher"
    SInOutError,                    // "E/A-Fehler %d"
    SFileNotFound,                  // "Datei nicht gefunden"
    SInvalidFilename,               // "Ungültiger Dateiname"
    STooManyOpenFiles,              // "Zu viele geöffnete Dateien"
    SAccessDenied,                  // "Dateizugriff verweigert"
    SEndOfFile,                     // "Lesen über Dateiende hinaus"
    SDiskFull,                      // "Disk voll"
    SFileNotOpen,                   // "Datei nicht geöffnet" (103)
    SInvalidInput,                  // "Ungültige numerische Eingabe"
    SOperationAborted,              // "Operation abgebrochen"
    SInvalidOp,                     // "Ungültige Gleitkommaoperation"
    SListCapacityError,             // "Listenkapazität überschreitet das Maximum (%d)"
    SAncestorNotFound,              // "Vorfahr für '%s' nicht gefunden"
    SIdentifierExpected,            // "Bezeichner erwartet"
    SStringExpected,                // "String erwartet"
    SNumberExpected,                // "Zahl erwartet"
    SSymbolExpected,                // "%s erwartet"
    SInvalidBinary,                 // "Ungültiger Binärwert"
    SInvalidString,                 // "Ungültige String-Konstante"
    SInvalidFloat,                  // "'%s' ist kein gültiger Gleitkommawert"
    SNestingTooDeep,                // "Verschachtelung zu tief"
    SValueExpected,                 // "Wert erwartet"
    SRootRequired,                  // "Kein Stammobjekt angegeben"
};

// The text of a resource string; "" for an unknown number.
std::string LoadStr(int ident);
// Adds or replaces texts (a unit's start-up registers its own). Both are
// safe to call from any thread.
void RegisterResourceStrings(std::initializer_list<std::pair<int, const char*>> table);
