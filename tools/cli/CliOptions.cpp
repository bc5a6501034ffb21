#include "CliOptions.h"

#include "core/ModelCatalogue.h"
#include "link/Decimal.h"

namespace setfolio::cli {

std::optional<std::int32_t> ParseModel(const std::string& text) {
    for (const auto& entry : Catalogue()) {
        if (entry.entry == text)
            return entry.modelType;
    }
    const auto number = ParseDecimal(text);
    if (number && FamilyOf(*number) != ModelFamily::NoFamily)
        return number;
    return std::nullopt;
}

namespace {

std::optional<int> ParseChoice(const std::string& text, std::initializer_list<int> allowed) {
    const auto number = ParseDecimal(text);
    if (!number || text.empty() || text.front() == ' ')
        return std::nullopt;
    for (const int value : allowed) {
        if (*number == value)
            return value;
    }
    return std::nullopt;
}

} // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) {
    Options options;
    auto fail = [](std::string message) { return ParseResult{std::nullopt, std::move(message)}; };
    if (args.empty())
        return fail("no command given");
    std::size_t i = 0;
    options.command = args[i++];
    if (options.command == "tables") {
        // The tables are built into the program: no processor, hence no link options.
        if (i >= args.size())
            return fail("tables needs a model");
        const auto model = ParseModel(args[i]);
        if (!model)
            return {std::nullopt, "unknown model '" + args[i] + "'", false};
        options.modelType = *model;
        if (++i < args.size())
            return fail("unexpected argument '" + args[i] + "'");
        return {options, {}};
    }
    const bool transfer = options.command == "download" || options.command == "upload";
    if (options.command != "library" && options.command != "select" && !transfer)
        return fail("unknown command '" + options.command + "'");
    if (options.command == "select") {
        if (i >= args.size())
            return fail("select needs a library number");
        const auto number = ParseDecimal(args[i]);
        if (!number || *number < 0 || *number > 999 || args[i].front() == ' ')
            return fail("library number must be 0 to 999, not '" + args[i] + "'");
        options.library = *number;
        ++i;
    }
    bool haveModel = false;
    bool haveLink = false;
    while (i < args.size()) {
        const std::string& flag = args[i++];
        if (options.command == "upload" && flag == "--include-cal") {
            options.includeCalibration = true;
            continue;
        }
        if (i >= args.size())
            return fail(flag + " needs a value");
        const std::string& value = args[i++];
        if (flag == "--model") {
            const auto model = ParseModel(value);
            if (!model)
                return fail("unknown model '" + value + "'");
            options.modelType = *model;
            haveModel = true;
        } else if (transfer && (flag == "--library" || flag == "--to")) {
            const auto number = ParseDecimal(value);
            if (!number || *number < 0 || *number > 999 || value.front() == ' ')
                return fail("library number must be 0 to 999, not '" + value + "'");
            (flag == "--library" ? options.library : options.lastLibrary.emplace()) = *number;
        } else if (transfer && flag == "--file") {
            options.file = value;
        } else if (flag == "--serial") {
            options.serial = true;
            options.device = value;
            haveLink = true;
        } else if (flag == "--tcp") {
            options.serial = false;
            options.host = value;
            const auto colon = value.rfind(':');
            if (colon != std::string::npos && value.find(':') == colon) {
                const auto port = ParseDecimal(value.substr(colon + 1));
                if (!port || *port < 1 || *port > 65535 || value[colon + 1] == ' ')
                    return fail("bad TCP port in '" + value + "'");
                options.host = value.substr(0, colon);
                options.port = static_cast<std::uint16_t>(*port);
            }
            if (options.host.empty())
                return fail("--tcp needs a host");
            haveLink = true;
        } else if (flag == "--baud") {
            const auto baud = ParseChoice(value, {1200, 2400, 4800, 9600, 19200, 38400});
            if (!baud)
                return fail("baud rate must be 1200, 2400, 4800, 9600, 19200 or 38400");
            options.serialSettings.baudRate = *baud;
        } else if (flag == "--parity") {
            if (value == "none")
                options.serialSettings.parity = Parity::None;
            else if (value == "odd")
                options.serialSettings.parity = Parity::Odd;
            else if (value == "even")
                options.serialSettings.parity = Parity::Even;
            else
                return fail("parity must be none, odd or even");
        } else if (flag == "--data-bits") {
            const auto bits = ParseChoice(value, {7, 8});
            if (!bits)
                return fail("data bits must be 7 or 8");
            options.serialSettings.dataBits = *bits;
        } else if (flag == "--stop-bits") {
            const auto bits = ParseChoice(value, {1, 2});
            if (!bits)
                return fail("stop bits must be 1 or 2");
            options.serialSettings.stopBits = *bits;
        } else {
            return fail("unknown option '" + flag + "'");
        }
    }
    if (!haveModel)
        return fail("--model is required");
    if (transfer && options.library < 0)
        return fail("--library is required");
    if (transfer && options.file.empty())
        return fail("--file is required");
    if (!haveLink)
        return fail("a link is required: --serial DEVICE or --tcp HOST[:PORT]");
    return {options, {}};
}

} // namespace setfolio::cli
