// The program's own messages in English, German and French (UTF-8), in the order of OwnMsg.
#include "i18n/Messages.h"

namespace setfolio {

namespace {

// clang-format off
constexpr std::array<std::array<std::string_view, LanguageCount>, OwnMessageCount> Texts{{
    // FileHasNoModelNumber
    {"has no model number.", "hat keine Modellnummer.", "n'a pas de numéro de modèle."},
    // FileHoldsLibraryOfModel
    {"holds a library of model", "enthält eine Bibliothek des Modells", "contient une librairie du modèle"},
    // ProcessorIsModel
    {"the processor is a", "der Prozessor ist ein", "le processeur est un"},
    // LibraryPartlyWritten: "Library 9 ..." 
    {"is only partly written.", "ist nur teilweise geschrieben.", "n'est écrite qu'en partie."},
    // Files.
    // FileIsWriteProtected: "/home/line/Line.lvf ..."
    {"is write-protected.", "ist schreibgeschützt.", "est protégé en écriture."},
    // BlockFilesReplaced: "... (3): Line 003.lvf, Line 004.lvf, Line 005.lvf."
    {"Existing files of the block that will be replaced", "Vorhandene Dateien des Blocks, die ersetzt werden", "Fichiers existants du bloc qui seront remplacés"},
    // DumpPastAnnouncedSize
    {"The %1 dump went on past the %2 bytes its first line announced and was cut off.", "Der Auszug %1 lief über die in seiner ersten Zeile angekündigten %2 Bytes hinaus und wurde abgebrochen.", "Le vidage %1 a dépassé les %2 octets annoncés par sa première ligne et a été interrompu."},
    // DumpPastLargestLibrary
    {"The %1 dump went on past %2 bytes, more than any library holds, and was cut off.", "Der Auszug %1 lief über %2 Bytes hinaus, mehr als eine Bibliothek enthält, und wurde abgebrochen.", "Le vidage %1 a dépassé %2 octets, plus que ne contient une librairie, et a été interrompu."},
}};
// clang-format on

} // namespace

std::string_view OwnText(OwnMsg id, Language language) {
    return Texts[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

} // namespace setfolio
