// Replies of a processor: any byte stream, in every family and every exchange step, arriving
// in pieces through the serial port's triggers and reply assembly, and each line handed to the
// parsers directly.
#include "FakeEventLoop.h"
#include "FakePrompts.h"
#include "FakeSerialPort.h"
#include "FakeTcpClient.h"
#include "core/CurrentModel.h"
#include "core/Settings.h"
#include "link/Exchange.h"
#include "link/ReplyParsers.h"
#include "link/Transport.h"

#include <cstdint>
#include <string>

using namespace setfolio;

namespace {

// Writes captured bench lines nowhere.
class NullWriter : public CaptureWriter {
public:
    void WriteCapturedLine(const std::string&, std::string_view, int, const std::string&) override {
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // First byte: model and step; the rest is what the processor sends.
    static constexpr std::int32_t Models[] = {0, 32, 5, 6, 41, 47};
    const std::int32_t modelType = Models[data[0] % 6];
    const auto step = static_cast<ExchangeStep>((data[0] / 6) % 9);
    const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);

    fake::FakeEventLoop loop;
    fake::FakeSerialPort port(loop);
    fake::FakeTcpClient tcp(loop);
    fake::FakePrompts prompts;
    const Settings settings("/nonexistent-folder");
    CurrentModel model(settings);
    model.Use(modelType);
    Transport transport(port, tcp, loop, prompts);
    transport.SetSerialSettingsSource([] { return SerialSettings{1, 9600, Parity::None, 8, 1}; });
    Exchange exchange(loop, transport, model, prompts);
    NullWriter writer;
    SimpleProgress progress;
    exchange.SetCaptureWriter(&writer);
    exchange.SetCaptureProgress(&progress);
    transport.OpenConnection();

    // The stream in three pieces, while an exchange waits.
    const std::size_t a = stream.size() / 3;
    const std::size_t b = 2 * stream.size() / 3;
    port.Receive(stream.substr(0, a), 1);
    port.Receive(stream.substr(a, b - a), 2);
    port.Receive(stream.substr(b), 3);
    exchange.SendAndWait("701\r", step);
    loop.AdvanceBy(100000);

    // The same bytes as whole lines, to each parser in every reading it has.
    const ModelFamily family = FamilyOf(modelType);
    std::size_t start = 0;
    while (start <= stream.size()) {
        const auto end = stream.find('\n', start);
        const std::string line = stream.substr(start, end == std::string::npos ? end : end - start);
        for (const bool flag : {false, true})
            ParseReply(ReplyContext{family, step, flag, !flag}, line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return 0;
}
