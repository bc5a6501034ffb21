// The program's own messages in English, German and French (UTF-8), in the order of OwnMsg.
#include "i18n/Messages.h"
#include "link/Transport.h"

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
    // The link's reports
    {LinkReportEnglish[0],
     "COM {} ist bereits geöffnet.\r\rBitte weisen Sie für die Verbindung mit dem Quorvane-Prozessor einen anderen COM-Port zu.",
     "Le port COM {} est déjà ouvert.\r\rVeuillez attribuer un autre port COM pour communiquer avec le processeur Quorvane."},
    {LinkReportEnglish[1],
     "COM {} existiert nicht.\r\rBitte weisen Sie für die Verbindung mit dem Quorvane-Prozessor einen anderen COM-Port zu.",
     "Le port COM {} n'existe pas.\r\rVeuillez attribuer un autre port COM pour communiquer avec le processeur Quorvane."},
    {LinkReportEnglish[2], "Nicht näher bestimmter Fehler an COM {}.",
     "Erreur non précisée sur le port COM {}."},
    {LinkReportEnglish[3],
     "Bitte weisen Sie für die Ethernet-Verbindung mit dem Quorvane-Prozessor eine IP-Adresse zu.",
     "Veuillez attribuer une adresse IP pour la communication Ethernet avec le processeur Quorvane."},
    {LinkReportEnglish[4],
     "\"{}\" ist keine gültige IP-Adresse. Geben Sie die Adresse an, gefolgt von :Port (1 bis 65535), wenn der Prozessor nicht an Port {} lauscht.",
     "\"{}\" n'est pas une adresse IP valable. Indiquez l'adresse, suivie de :port (1 à 65535) si le processeur n'écoute pas sur le port {}."},
    {LinkReportEnglish[5], "Keine Verbindung zu {} Port {} möglich.",
     "Impossible de se connecter à {} port {}."},
    // The communications dialog
    {"Ethernet", "Ethernet", "Ethernet"},
    {"Click to select Ethernet communications", "Klicken zur Auswahl der Ethernet-Verbindung",
     "Cliquer pour choisir la communication Ethernet"},
    {"Serial", "Seriell", "Série"},
    {"Click to select serial communications", "Klicken zur Auswahl der seriellen Verbindung",
     "Cliquer pour choisir la communication série"},
    {"IP Address", "IP-Adresse", "Adresse IP"},
    {"Select IP address from list", "IP-Adresse aus der Liste auswählen",
     "Sélectionner l'adresse IP dans la liste"},
    {"Edit List", "Liste bearbeiten", "Modifier la liste"},
    {"Click to manage address list", "Klicken zum Verwalten der Adressliste",
     "Cliquer pour gérer la liste d'adresses"},
    {"Device", "Gerät", "Appareil"},
    {"The device the selected COM port leads to", "Das Gerät, zu dem der gewählte COM-Port führt",
     "L'appareil auquel mène le port COM choisi"},
    {"Available", "Vorhanden", "Disponibles"},
    {"Serial devices of this computer", "Serielle Geräte dieses Computers",
     "Appareils série de cet ordinateur"},
    {"Assign", "Zuordnen", "Attribuer"},
    {"Click to make the selected COM port lead to this device",
     "Klicken, damit der gewählte COM-Port zu diesem Gerät führt",
     "Cliquer pour que le port COM choisi mène à cet appareil"},
    {"no device", "kein Gerät", "aucun appareil"},
    {"{} (not present)", "{} (nicht vorhanden)", "{} (absent)"},
    {"no serial device found", "kein serielles Gerät gefunden", "aucun appareil série trouvé"},
    {"Choose the COM port (1 to 32) that is to lead to the device first.",
     "Wählen Sie zuerst den COM-Port (1 bis 32), der zu dem Gerät führen soll.",
     "Choisissez d'abord le port COM (1 à 32) qui doit mener à l'appareil."},
    {"{} is not a link; it is left as it is.",
     "{} ist keine Verknüpfung; es bleibt, wie es ist.",
     "{} n'est pas un lien ; il reste tel quel."},
    {"COM {} cannot be linked to {}: {}", "COM {} kann nicht mit {} verknüpft werden: {}",
     "Le port COM {} ne peut pas être lié à {} : {}"},
    {"No {} is selected.", "Keine Auswahl für {}.", "Aucune sélection pour {}."},
    {"Invalid {}: {}", "Ungültige Auswahl für {}: {}", "Sélection invalide pour {} : {}"},
    {"COM port", "COM-Port", "le port COM"},
    {"baud rate", "Baudrate", "le taux de bauds"},
    {"data bits setting", "Datenbits", "les bits de donnée"},
    {"stop bits setting", "Stopbits", "les bits d'arrêt"},
    // The IP address list dialog
    {"Manage IP Address List", "IP-Adressliste verwalten", "Gérer la liste d'adresses IP"},
    {"IP Address", "IP-Adresse", "Adresse IP"},
    {"Enter IP Address", "IP-Adresse eingeben", "Entrer l'adresse IP"},
    {"Name", "Name", "Nom"},
    {"Enter an optional name for the connected processor",
     "Optionalen Namen für den angeschlossenen Prozessor eingeben",
     "Entrer un nom facultatif pour le processeur connecté"},
    {"Add", "Hinzufügen", "Ajouter"},
    {"Click to add to list", "Klicken zum Hinzufügen zur Liste", "Cliquer pour ajouter à la liste"},
    {"IP Address List:", "IP-Adressliste:", "Liste d'adresses IP :"},
    {"Move", "Verschieben", "Déplacer"},
    {"Click to move selection up the list", "Klicken, um die Auswahl nach oben zu verschieben",
     "Cliquer pour monter la sélection dans la liste"},
    {"Click to move selection down the list", "Klicken, um die Auswahl nach unten zu verschieben",
     "Cliquer pour descendre la sélection dans la liste"},
    {"Delete", "Löschen", "Supprimer"},
    {"Click to delete selection from the list", "Klicken, um die Auswahl aus der Liste zu löschen",
     "Cliquer pour supprimer la sélection de la liste"},
    {"OK", "OK", "OK"},
    {"Click to accept changes", "Klicken zum Übernehmen der Änderungen",
     "Cliquer pour accepter les modifications"},
    {"Cancel", "Abbrechen", "Annuler"},
    {"Click to discard changes and exit", "Klicken, um die Änderungen zu verwerfen und zu schließen",
     "Cliquer pour abandonner les modifications et sortir"},
    {"Please enter an IP Address.", "Bitte geben Sie eine IP-Adresse ein.",
     "Veuillez entrer une adresse IP."},
    {"Please select an address from the list.", "Bitte wählen Sie eine Adresse aus der Liste.",
     "Veuillez sélectionner une adresse dans la liste."},
    {"\"{}\" is not an IP address or host name. Enter an IPv4 address (four numbers from 0 to 255 "
     "with dots between them), an IPv6 address (in brackets when a port follows) or a host name, "
     "optionally followed by :port (1 to 65535).",
     "\"{}\" ist weder eine IP-Adresse noch ein Rechnername. Geben Sie eine IPv4-Adresse (vier "
     "Zahlen von 0 bis 255, durch Punkte getrennt), eine IPv6-Adresse (in eckigen Klammern, wenn "
     "ein Port folgt) oder einen Rechnernamen ein, wahlweise gefolgt von :Port (1 bis 65535).",
     "\"{}\" n'est ni une adresse IP ni un nom d'hôte. Entrez une adresse IPv4 (quatre nombres de "
     "0 à 255 séparés par des points), une adresse IPv6 (entre crochets si un port suit) ou un nom "
     "d'hôte, éventuellement suivi de :port (1 à 65535)."},
    // Other windows
    {"Check to upload calibration, linearization, and jog values",
     "Anwählen, um Kalibrierungs-, Linearisierungs- und Jog-Werte zu laden",
     "Cocher pour charger les valeurs d'étalonnage, de linéarisation et de test régulation"},
    {"Library Files (*.lvf)", "Bibliotheksdateien (*.lvf)", "Fichiers de librairie (*.lvf)"},
    {"Please select a valid COM port!", "Bitte wählen Sie einen gültigen COM-Port!",
     "Veuillez choisir un port COM valable!"},
    {"About Setfolio", "Über Setfolio", "À propos de Setfolio"},
    {"<b>Setfolio</b><br>Version {}<br>Built {}<br><br>Copies processor libraries between processors and files.<br><br>Settings, IP address list and ports are kept beside the program in<br>{}",
     "<b>Setfolio</b><br>Version {}<br>Erstellt {}<br><br>Kopiert Bibliotheken zwischen Prozessoren und Dateien.<br><br>Einstellungen, IP-Adressliste und Ports liegen neben dem Programm in<br>{}",
     "<b>Setfolio</b><br>Version {}<br>Compilé le {}<br><br>Copie les librairies entre processeurs et fichiers.<br><br>Les réglages, la liste d'adresses IP et les ports sont conservés à côté du programme dans<br>{}"},
    {"<b>Setfolio</b><br>Version {}<br>Built {}<br><br>Copies processor libraries between processors and files.<br><br>Settings, IP address list and ports are kept for this user in<br>{}",
     "<b>Setfolio</b><br>Version {}<br>Erstellt {}<br><br>Kopiert Bibliotheken zwischen Prozessoren und Dateien.<br><br>Einstellungen, IP-Adressliste und Ports liegen für diesen Benutzer in<br>{}",
     "<b>Setfolio</b><br>Version {}<br>Compilé le {}<br><br>Copie les librairies entre processeurs et fichiers.<br><br>Les réglages, la liste d'adresses IP et les ports sont conservés pour cet utilisateur dans<br>{}"},
}};
// clang-format on

} // namespace

std::string_view OwnText(OwnMsg id, Language language) {
    return Texts[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

} // namespace setfolio
