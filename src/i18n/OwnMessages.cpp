// The program's own messages in English, German and French (UTF-8), in the order of OwnMsg.
#include "i18n/Messages.h"

namespace setfolio {

namespace {

// clang-format off
constexpr std::array<std::array<std::string_view, LanguageCount>, OwnMessageCount> Texts{{
    // Upload refusals
    {"{} has no model number.", "{} hat keine Modellnummer.", "{} n'a pas de numéro de modèle."},
    {"{} holds a library of model {}, the processor is a {}.",
     "{} enthält eine Bibliothek des Modells {}, der Prozessor ist ein {}.",
     "{} contient une librairie du modèle {}, le processeur est un {}."},
    // What a transfer left behind
    {"Library {} is only partly written.", "Bibliothek {} ist nur teilweise geschrieben.",
     "La librairie {} n'est écrite qu'en partie."},
    // Library files
    {"{} is write-protected.", "{} ist schreibgeschützt.", "{} est protégé en écriture."},
    {"Existing files of the block that will be replaced ({}): {}",
     "Vorhandene Dateien des Blocks, die ersetzt werden ({}): {}",
     "Fichiers existants du bloc qui seront remplacés ({}) : {}"},
    {"The {} dump went on past the {} bytes its first line announced and was cut off.",
     "Der Auszug {} lief über die in seiner ersten Zeile angekündigten {} Bytes hinaus und wurde abgebrochen.",
     "Le vidage {} a dépassé les {} octets annoncés par sa première ligne et a été interrompu."},
    {"The {} dump went on past {} bytes, more than any library holds, and was cut off.",
     "Der Auszug {} lief über {} Bytes hinaus, mehr als eine Bibliothek enthält, und wurde abgebrochen.",
     "Le vidage {} a dépassé {} octets, plus que ne contient une librairie, et a été interrompu."},
    // Site texts
    {"{}/{}: the model has no choice row of this name; the built-in texts stay.",
     "{}/{}: das Modell hat keine Auswahlzeile dieses Namens; die eingebauten Texte bleiben.",
     "{}/{} : le modèle n'a pas de ligne de choix de ce nom ; les textes intégrés restent."},
    {"{}/{}: {} texts given, the row has {} choices; the built-in texts stay.",
     "{}/{}: {} Texte angegeben, die Zeile hat {} Auswahlen; die eingebauten Texte bleiben.",
     "{}/{} : {} textes donnés, la ligne a {} choix ; les textes intégrés restent."},
    {"{}/{}: {} sets given, the row has {}; the built-in texts stay.",
     "{}/{}: {} Sätze angegeben, die Zeile hat {}; die eingebauten Texte bleiben.",
     "{}/{} : {} ensembles donnés, la ligne en a {} ; les textes intégrés restent."},
    {"{}/{}, set {}: {} texts given, the set has {} choices; the built-in texts stay.",
     "{}/{}, Satz {}: {} Texte angegeben, der Satz hat {} Auswahlen; die eingebauten Texte bleiben.",
     "{}/{}, ensemble {} : {} textes donnés, l'ensemble a {} choix ; les textes intégrés restent."},
    {"{} cannot be used: {}", "{} kann nicht verwendet werden: {}",
     "{} ne peut pas être utilisé : {}"},
    // Values that match no choice
    {"{}: the processor shows \"{}\", which is none of the {} choices this program knows for it.",
     "{}: der Prozessor zeigt \"{}\", keine der {} Auswahlen, die dieses Programm dafür kennt.",
     "{} : le processeur affiche \"{}\", qui n'est aucun des {} choix que ce programme connaît pour lui."},
    {"{}: its source {} holds \"{}\", which picks none of its {} sets of choices.",
     "{}: seine Quelle {} enthält \"{}\", womit keiner seiner {} Auswahlsätze gilt.",
     "{} : sa source {} contient \"{}\", qui ne désigne aucun de ses {} ensembles de choix."},
    // Verification
    {"Library {} does not hold what was sent: {}.",
     "Bibliothek {} enthält nicht, was gesendet wurde: {}.",
     "La librairie {} ne contient pas ce qui a été envoyé : {}."},
    // The about box
    {"About Setfolio", "Über Setfolio", "À propos de Setfolio"},
    {"Copies processor libraries between processors and files.",
     "Kopiert Bibliotheken zwischen Prozessoren und Dateien.",
     "Copie les librairies entre processeurs et fichiers."},
    {"Version {}", "Version {}", "Version {}"},
    {"Built {}", "Erstellt {}", "Compilé le {}"},
    {"Settings, IP address list and ports are kept beside the program in {}",
     "Einstellungen, IP-Adressliste und Ports liegen neben dem Programm in {}",
     "Les réglages, la liste d'adresses IP et les ports sont conservés à côté du programme dans {}"},
    {"Settings, IP address list and ports are kept for this user in {}",
     "Einstellungen, IP-Adressliste und Ports liegen für diesen Benutzer in {}",
     "Les réglages, la liste d'adresses IP et les ports sont conservés pour cet utilisateur dans {}"},
    // The main window's status line
    {"{} (missing)", "{} (fehlt)", "{} (absent)"},
    {"TCP, no address chosen", "TCP, keine Adresse gewählt", "TCP, aucune adresse choisie"},
    {"No exchange yet", "Noch kein Austausch", "Aucun échange pour l'instant"},
    {"The processor answered", "Der Prozessor hat geantwortet", "Le processeur a répondu"},
    {"The processor answered: {}", "Der Prozessor hat geantwortet: {}",
     "Le processeur a répondu : {}"},
    {"No answer", "Keine Antwort", "Pas de réponse"},
    {"Port not open", "Port nicht geöffnet", "Port non ouvert"},
    {"Last exchange aborted", "Letzter Austausch abgebrochen", "Dernier échange interrompu"},
    // The message window
    {"Save…", "Speichern…", "Enregistrer…"},
    {"Clear", "Leeren", "Effacer"},
    {"Save Messages As", "Meldungen speichern unter", "Enregistrer les messages sous"},
    {"The messages could not be saved to {}; an existing file there is unchanged.",
     "Die Meldungen konnten nicht in {} gespeichert werden; eine vorhandene Datei bleibt unverändert.",
     "Les messages n'ont pas pu être enregistrés dans {} ; un fichier existant reste inchangé."},
    // A block transfer
    {"Library {} of {}", "Bibliothek {} von {}", "Librairie {} sur {}"},
    {"about {} left", "noch etwa {}", "encore environ {}"},
    // The library viewer
    {"View Library…", "Bibliothek ansehen…", "Afficher une librairie…"},
    {"Library File", "Bibliotheksdatei", "Fichier de librairie"},
    {"Open…", "Öffnen…", "Ouvrir…"},
    {"Compare with…", "Vergleichen mit…", "Comparer avec…"},
    {"Filter", "Filter", "Filtre"},
    {"Only differences", "Nur Unterschiede", "Différences seulement"},
    {"Section", "Abschnitt", "Section"},
    {"Parameter", "Parameter", "Paramètre"},
    {"Stored", "Gespeichert", "Enregistré"},
    {"Meaning", "Bedeutung", "Signification"},
    {"Open Library File", "Bibliotheksdatei öffnen", "Ouvrir un fichier de librairie"},
    {"{} cannot be read.", "{} kann nicht gelesen werden.", "{} ne peut pas être lu."},
}};
// clang-format on

} // namespace

std::string_view OwnText(OwnMsg id, Language language) {
    return Texts[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

} // namespace setfolio
