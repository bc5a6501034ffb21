#pragma once

#include "CliOptions.h"

#include <QCommandLineParser>
#include <QString>

#include <optional>
#include <string>

namespace setfolio::cli {

// --model and the link options of every command that talks to a processor.
void DeclareLinkOptions(QCommandLineParser& parser);
LinkSettings ReadLinkOptions(const QCommandLineParser& parser);
// What --help says about MODEL and LINK.
QString LinkNotes();

// A library or a block of them, and the file (the first file of a block).
struct TransferOptions {
    int first = 0;
    std::optional<int> last; // --to
    std::string file;
};

// --vocabulary FILE: the site's own choice texts. Without it, the file in the user's settings
// folder when there is one. A file that cannot be used is a usage error naming why.
void DeclareVocabularyOption(QCommandLineParser& parser);
SiteVocabulary ReadVocabularyOption(const QCommandLineParser& parser);

// --library, --to and --file of the transfers.
void DeclareTransferOptions(QCommandLineParser& parser);
TransferOptions ReadTransferOptions(const QCommandLineParser& parser);

} // namespace setfolio::cli
