#include "classlib/core/resstrings.h"

#include <iterator>
#include <map>
#include <mutex>

namespace {

constexpr std::pair<int, const char*> kClassLibTexts[] = {
    {SInvalidPropertyValue, "Ung\xFCltiger Wert der Eigenschaft"},
    {SReadError, "Stream-Read-Fehler"},
    {SWriteError, "Stream-Write-Fehler"},
    {SInvalidImage, "Ung\xFCltiges Stream-Format"},
    {SClassNotFound, "Klasse %s nicht gefunden"},
    {SAbstractClass, "Von der Klasse %s kann keine Instanz angelegt werden"},
    {SPropertyNoAccess, "Kein Zugriff auf die Eigenschaft %s"},
    {SUnknownProperty, "Eigenschaft %s existiert nicht"},
    {SInvalidInteger, "'%s' ist kein g\xFCltiger Integerwert"},
    {SAssignError, "%s kann nicht zu %s zugewiesen werden"},
    {SListIndexError, "Listenindex \xFC" "berschreitet das Maximum (%d)"},
    {SDuplicateString, "Stringliste erlaubt keine Duplikate"},
    {SSortedListError, "Operation bei sortierten Listen nicht zul\xE4ssig"},
    {SDuplicateName, "Eine Komponente mit der Bezeichnung %s existiert bereits"},
    {SInvalidName, "''%s'' ist kein g\xFCltiger Komponentenname"},
    {SFCreateError, "Datei %s kann nicht erstellt werden"},
    {SFOpenError, "Datei %s kann nicht ge\xF6" "ffnet werden"},
    {SInvalidFileName, "Ung\xFCltiger Dateiname - %s"},
    {SMethodNotFound, "Methode %s nicht gefunden"},
    {SUnresolvedReference, "Unaufgel\xF6ste Referenz auf %s"},
    {SInvalidFormat, "Format '%s' ung\xFCltig oder nicht kompatibel mit Argument"},
    {SArgumentMissing, "Kein Argument f\xFCr Format '%s'"},
    {SParseError, "%s in Zeile %d"},
    {SOutOfMemory, "Zu wenig Arbeitsspeicher"},
    {SInOutError, "E/A-Fehler %d"},
    {SFileNotFound, "Datei nicht gefunden"},
    {SInvalidFilename, "Ung\xFCltiger Dateiname"},
    {STooManyOpenFiles, "Zu viele ge\xF6" "ffnete Dateien"},
    {SAccessDenied, "Dateizugriff verweigert"},
    {SEndOfFile, "Lesen \xFC" "ber Dateiende hinaus"},
    {SDiskFull, "Disk voll"},
    {SFileNotOpen, "Datei nicht ge\xF6" "ffnet"},
    {SInvalidInput, "Ung\xFCltige numerische Eingabe"},
    {SOperationAborted, "Operation abgebrochen"},
    {SInvalidOp, "Ung\xFCltige Gleitkommaoperation"},
    {SListCapacityError, "Listenkapazit\xE4t \xFC" "berschreitet das Maximum (%d)"},
    {SAncestorNotFound, "Vorfahr f\xFCr '%s' nicht gefunden"},
    {SIdentifierExpected, "Bezeichner erwartet"},
    {SStringExpected, "String erwartet"},
    {SNumberExpected, "Zahl erwartet"},
    {SSymbolExpected, "%s erwartet"},
    {SInvalidBinary, "Ung\xFCltiger Bin\xE4rwert"},
    {SInvalidString, "Ung\xFCltige String-Konstante"},
    {SInvalidFloat, "'%s' ist kein g\xFCltiger Gleitkommawert"},
    {SNestingTooDeep, "Verschachtelung zu tief"},
    {SValueExpected, "Wert erwartet"},
    {SRootRequired, "Kein Stammobjekt angegeben"},
    {SHelpButton, "&Hilfe"},
    {SConfirmCreateDir, "Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"},
};

static_assert(NumbersAreOwnAndInRange(kClassLibTexts));

std::map<int, std::string>& Table() {
    static std::map<int, std::string> table(std::begin(kClassLibTexts), std::end(kClassLibTexts));
    return table;
}

std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

std::string LoadStr(int ident) {
    std::lock_guard<std::mutex> guard(TableLock());
    auto it = Table().find(ident);
    return it == Table().end() ? std::string() : it->second;
}

void RegisterResourceStrings(std::initializer_list<std::pair<int, const char*>> table) {
    std::lock_guard<std::mutex> guard(TableLock());
    for (const auto& [id, text] : table) Table()[id] = text ? text : "";
}
