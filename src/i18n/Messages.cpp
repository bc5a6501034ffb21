#include "i18n/Messages.h"

namespace setfolio {

namespace {

// English, German, French; in the order of MsgId.
// clang-format off
constexpr std::array<std::array<std::string_view, 3>, MessageCount> Catalogue{{
    {"Current library is", "Aktuelle Bibliothek ist", "La librairie actuelle est"},
    {"transaction error!", "Übertragungsfehler!", "erreur d'opération!"},
    {"processor is in RUN mode!", "Prozessor läuft!", "le processeur est en mode ACTIF!"},
    {"communication error!", "Kommunikationsfehler!", "erreur de communication!"},
    {"unknown error!", "Unbekannter Fehler!", "erreur inconnue!"},
    {"no connection!", "kein Anschluß!", "pas de connexion!"},
    {"value error!", "Falscher Wert!", "erreur de valeur!"},
    {"command failed!", "Befehl kann nicht ausgeführt werden!", "la commande a échoué!"},
    {"invalid command!", "Ungültiger Befehl!", "commande invalide!"},
    {"invalid source!", "Ungültige Quelle!", "source invalide!"},
    {"invalid value!", "Ungültiger Wert!", "valeur invalide!"},
    {"invalid action!", "Ungültige Aktion!", "action invalide!"},
    {"CTL and/or SPC On!", "CTL und/oder SPC ist eingeschaltet!", "CTL et/ou SPC actif!"},
    {"Download of library", "Herunterladen der Bibliothek", "Sauvegarde de librairie"},
    {"to", "nach", "vers"},
    {"complete.", "fertig.", "fini."},
    {"Download failed", "Herunterladen nicht möglich", "Sauvegarde non effectuée"},
    {"Download aborted by user.", "Herunterladen durch den Benutzer abgebrochen.", "Sauvegarde annulée par utilisateur."},
    {"Upload of", "Laden von", "Chargement de"},
    {"to library", "nach Bibliothek", "vers librairie"},
    {"Upload failed", "Laden nicht erfolgt", "Chargement non effectué"},
    {"does not exist!", "existiert nicht!", "n'existe pas!"},
    {"Upload aborted by user.", "Laden durch Benutzer abgebrochen.", "Chargement annulé par utilisateur."},
    {"Enter a valid filename.", "Eingabe eines gültigen Dateinamens.", "Entrer un nom de fichier valable."},
    {"Select file to load.", "Auswahl einer Datei zum Laden.", "Sélectionner un fichier à sauver."},
    {"Invalid filename for block upload.", "Ungültiger Dateiname zum Blockladen.", "Nom de fichier invalide pour chargement de bloc."},
    {"Warning - Current Calibration, Linearization, and Jog Values will be replaced!!!", "Achtung - Aktuelle Kalibrierung, Linearisierung und Jog-Werte werden ersetzt!!!", "Attention - les valeurs actuelles d'étalonnage, linéarisation et test régulation seront remplacées!!!"},
    {"Are you sure you want to proceed?", "Sind Sie sicher, daß Sie fortfahren wollen?", "Etes-vous sûr de vouloir continuer?"},
}};
// clang-format on

} // namespace

std::string_view CatalogueText(MsgId id, Language language) {
    return Catalogue[static_cast<std::size_t>(id)][static_cast<std::size_t>(language)];
}

MessageTexts::MessageTexts() {
    Apply(Language::English);
}

void MessageTexts::Apply(Language language) {
    for (std::size_t i = 0; i < MessageCount; ++i)
        m_texts[i] = std::string(CatalogueText(static_cast<MsgId>(i), language));
}

std::string MessageTexts::StatusText(ReplyStatus status) const {
    switch (status) {
    case ReplyStatus::TransactionError:
        return Text(MsgId::MsgTransactionError);
    case ReplyStatus::RunMode:
        return Text(MsgId::MsgRunMode);
    case ReplyStatus::CommunicationError:
        return Text(MsgId::MsgCommunicationError);
    case ReplyStatus::UnknownError:
        return Text(MsgId::MsgUnknownError);
    case ReplyStatus::NoConnection:
        return Text(MsgId::MsgNoConnection);
    case ReplyStatus::ValueError:
        return Text(MsgId::MsgValueError);
    case ReplyStatus::CommandFailed:
        return Text(MsgId::MsgCommandFailed);
    case ReplyStatus::InvalidCommand:
        return Text(MsgId::MsgInvalidCommand);
    case ReplyStatus::InvalidSource:
        return Text(MsgId::MsgInvalidSource);
    case ReplyStatus::InvalidValue:
        return Text(MsgId::MsgInvalidValue);
    case ReplyStatus::InvalidAction:
        return Text(MsgId::MsgInvalidAction);
    case ReplyStatus::ControlOrSpcOn:
        return Text(MsgId::MsgControlOrSpcOn);
    default:
        return {};
    }
}

} // namespace setfolio
