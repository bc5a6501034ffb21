#include "ProcessorOptions.h"

#include "Command.h"

#include "core/AtomicFile.h"
#include "link/SerialLine.h"
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
    // What each serial option takes, the value used when it is not given marked.
    const SerialSettings defaults = LinkSettings{}.serialSettings;
    const auto choices = [](const std::string& what, const std::string& words) {
        return QString::fromStdString("The serial line's " + what + ": " + words + ".");
    };
    parser.addOptions({
        {"model", "The processor's model (required).", "MODEL"},
        {"serial", "Reaches the processor through the serial DEVICE.", "DEVICE"},
        {"baud", choices("baud rate", InWords(BaudRates, defaults.baudRate)), "B"},
        {"parity", choices("parity", InWords(ParityNames, NameOf(*defaults.parity))), "P"},
        {"data-bits", choices("data bits", InWords(DataBitsChoices, defaults.dataBits)), "D"},
        {"stop-bits", choices("stop bits", InWords(StopBitsChoices, defaults.stopBits)), "S"},
        {"tcp",
         QString::fromStdString("Reaches the processor over TCP, on port " +
                                std::to_string(ProcessorTcpPort) +
                                " when no PORT is given; [IPV6]:PORT for an IPv6 address."),
         "HOST[:PORT]"},
        {"trace",
         "Writes every command and reply, with times, and the link's opening and closing to FILE "
         "(its older half dropped past 10 MB).",
         "FILE"},
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
    link.tracePath = Value(parser, "trace").value_or("");
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
    return "MODEL: an entry name such as C-12, or a model type 0..46 (setfolio-cli models)\n"
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
