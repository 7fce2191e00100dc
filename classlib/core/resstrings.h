// Resource strings by number. The class library's own texts are German, in
// code page 1252; units register further tables at start-up.
//
// The numbers are fixed, each written out: other code refers to them. The
// class library's texts lie in 65300-65527 (these and the picture classes'
// in graphics_strings.h); 65283-65292 stay free for the captions of the
// themed buttons.
#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>

enum TClassLibString : int {
    SInvalidPropertyValue = 65300,  // "Ungültiger Wert der Eigenschaft"
    SReadError = 65448,             // "Stream-Read-Fehler"
    SWriteError = 65301,            // "Stream-Write-Fehler"
    SInvalidImage = 65302,          // "Ungültiges Stream-Format"
    SClassNotFound = 65303,         // "Klasse %s nicht gefunden"
    SAbstractClass = 65304,         // "Von der Klasse %s kann keine Instanz angelegt werden"
    SPropertyNoAccess = 65305,      // "Kein Zugriff auf die Eigenschaft %s"
    SUnknownProperty = 65306,       // "Eigenschaft %s existiert nicht"
    SInvalidInteger = 65307,        // "'%s' ist kein gültiger Integerwert"
    SAssignError = 65308,           // "%s kann nicht zu %s zugewiesen werden"
    SListIndexError = 65309,        // "Listenindex überschreitet das Maximum (%d)"
    SDuplicateString = 65310,       // "Stringliste erlaubt keine Duplikate"
    SSortedListError = 65311,       // "Operation bei sortierten Listen nicht zulässig"
    SDuplicateName = 65312,         // "Eine Komponente mit der Bezeichnung %s existiert bereits"
    SInvalidName = 65313,           // "''%s'' ist kein gültiger Komponentenname"
    SFCreateError = 65314,          // "Datei %s kann nicht erstellt werden"
    SFOpenError = 65315,            // "Datei %s kann nicht geöffnet werden"
    SInvalidFileName = 65335,       // "Ungültiger Dateiname - %s"
    SMethodNotFound = 65316,        // "Methode %s nicht gefunden"
    SUnresolvedReference = 65317,   // "Unaufgelöste Referenz auf %s"
    SInvalidFormat = 65318,         // "Format '%s' ungültig oder nicht kompatibel mit Argument"
    SArgumentMissing = 65319,       // "Kein Argument für Format '%s'"
    SParseError = 65320,            // "%s in Zeile %d"
    SOutOfMemory = 65321,           // "Zu wenig Arbeitsspeicher"
    SInOutError = 65322,            // "E/A-Fehler %d"
    SFileNotFound = 65323,          // "Datei nicht gefunden"
    SInvalidFilename = 65324,       // "Ungültiger Dateiname"
    STooManyOpenFiles = 65325,      // "Zu viele geöffnete Dateien"
    SAccessDenied = 65326,          // "Dateizugriff verweigert"
    SEndOfFile = 65327,             // "Lesen über Dateiende hinaus"
    SDiskFull = 65328,              // "Disk voll"
    SFileNotOpen = 65329,           // "Datei nicht geöffnet" (103)
    SInvalidInput = 65330,          // "Ungültige numerische Eingabe"
    SOperationAborted = 65331,      // "Operation abgebrochen"
    SInvalidOp = 65332,             // "Ungültige Gleitkommaoperation"
    SListCapacityError = 65333,     // "Listenkapazität überschreitet das Maximum (%d)"
    SAncestorNotFound = 65334,      // "Vorfahr für '%s' nicht gefunden"
    SIdentifierExpected = 65336,    // "Bezeichner erwartet"
    SStringExpected = 65337,        // "String erwartet"
    SNumberExpected = 65338,        // "Zahl erwartet"
    SSymbolExpected = 65339,        // "%s erwartet"
    SInvalidBinary = 65340,         // "Ungültiger Binärwert"
    SInvalidString = 65341,         // "Ungültige String-Konstante"
    SInvalidFloat = 65342,          // "'%s' ist kein gültiger Gleitkommawert"
    SNestingTooDeep = 65343,        // "Verschachtelung zu tief"
    SValueExpected = 65344,         // "Wert erwartet"
    SRootRequired = 65345,          // "Kein Stammobjekt angegeben"
    SHelpButton = 65383,            // "&Hilfe"
    SConfirmCreateDir = 65384,      // "Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"
};

// The text of a resource string; "" for an unknown number.
std::string LoadStr(int ident);
// Adds or replaces texts (a unit's start-up registers its own). Both are
// safe to call from any thread.
void RegisterResourceStrings(std::initializer_list<std::pair<int, const char*>> table);

// Whether each number of a table of the class library's texts is its own and
// lies in the library's range (for a static_assert beside the table).
template <size_t N>
constexpr bool NumbersAreOwnAndInRange(const std::pair<int, const char*> (&table)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (table[i].first < 65300 || table[i].first > 65527) return false;
        for (size_t j = 0; j < i; ++j)
            if (table[j].first == table[i].first) return false;
    }
    return true;
}
