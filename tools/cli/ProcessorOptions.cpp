#include "ProcessorOptions.h"

#include "Command.h"

#include "core/AtomicFile.h"
#include "transfer/SiteTexts.h"

#include <QStandardPaths>

namespace setfolio::cli {

namespace {

// The value of an option given more than once is the last one, as with most programs.
std::optional<std::string> Value(const QCommandLineParser& parser, const QString& name) {
    if (!parser.isSet(name))
        return std::nullopt;
    return Bytes(parser.value(name));
}

} // namespace

void DeclareLinkOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {"model", "The processor's model (required).", "MODEL"},
        {"serial", "Reaches the processor through the serial DEVICE.", "DEVICE"},
        {"baud",
         "The serial line's baud rate: 1200, 2400, 4800, 9600 (the default), 19200 or 38400.", "B"},
        {"parity", "The serial line's parity: none (the default), odd or even.", "P"},
        {"data-bits", "The serial line's data bits: 7 or 8 (the default).", "D"},
        {"stop-bits", "The serial line's stop bits: 1 (the default) or 2.", "S"},
        {"tcp", "Reaches the processor over TCP, on port 23 when no PORT is given.", "HOST[:PORT]"},
    });
    DeclareVocabularyOption(parser);
}

void DeclareVocabularyOption(QCommandLineParser& parser) {
    parser.addOption({"vocabulary",
                      "The site's own choice texts (default: Vocabulary.json in the user's "
                      "settings folder, when there is one).",
                      "FILE"});
}

SiteVocabulary ReadVocabularyOption(const QCommandLineParser& parser) {
    std::string path;
    if (const auto given = Value(parser, "vocabulary")) {
        path = *given;
        if (!FileExists(path))
            throw UsageError("cannot read " + path);
    } else {
        path =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
            "/Setfolio/" + SiteTextsFileName;
    }
    try {
        return ReadSiteVocabulary(path);
    } catch (const VocabularyError& error) {
        throw UsageError(path + " cannot be used: " + error.what(), false);
    }
}

LinkSettings ReadLinkOptions(const QCommandLineParser& parser) {
    LinkSettings link;
    link.vocabulary = ReadVocabularyOption(parser);
    const auto model = Value(parser, "model");
    if (!model)
        throw UsageError("--model is required");
    link.modelType = ReadModel(*model);
    if (const auto baud = Value(parser, "baud"))
        link.serialSettings.baudRate = ReadBaudRate(*baud);
    if (const auto parity = Value(parser, "parity"))
        link.serialSettings.parity = ReadParity(*parity);
    if (const auto bits = Value(parser, "data-bits"))
        link.serialSettings.dataBits = ReadDataBits(*bits);
    if (const auto bits = Value(parser, "stop-bits"))
        link.serialSettings.stopBits = ReadStopBits(*bits);
    if (const auto target = Value(parser, "tcp"))
        ReadTcpTarget(*target, link);
    // Of --serial and --tcp, the one given last decides.
    const QStringList given = parser.optionNames();
    const auto serial = given.lastIndexOf("serial");
    const auto tcp = given.lastIndexOf("tcp");
    if (serial < 0 && tcp < 0)
        throw UsageError("a link is required: --serial DEVICE or --tcp HOST[:PORT]");
    link.serial = serial > tcp;
    if (link.serial)
        link.device = *Value(parser, "serial");
    return link;
}

QString LinkNotes() {
    return "MODEL: an entry name such as C-12, or a model type 0..46\n"
           "LINK:  --serial DEVICE [--baud B] [--parity P] [--data-bits D] [--stop-bits S]\n"
           "       or --tcp HOST[:PORT]\n";
}

void DeclareTransferOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {"library", "The first library, 0..999 (required).", "N"},
        {"to", "The last library of a block; the file name then gets each library's number.", "M"},
        {"file", "The library file (required).", "PATH"},
    });
}

TransferOptions ReadTransferOptions(const QCommandLineParser& parser) {
    TransferOptions transfer;
    const auto first = Value(parser, "library");
    if (!first)
        throw UsageError("--library is required");
    transfer.first = ReadLibraryNumber(*first);
    if (const auto last = Value(parser, "to")) {
        transfer.last = ReadLibraryNumber(*last);
        // A block that ends before it starts would do nothing and report success.
        if (*transfer.last < transfer.first)
            throw UsageError("--to " + *last + " is below --library " + *first);
    }
    transfer.file = Value(parser, "file").value_or("");
    if (transfer.file.empty())
        throw UsageError("--file is required");
    return transfer;
}

} // namespace setfolio::cli
