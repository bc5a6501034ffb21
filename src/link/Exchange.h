#pragma once

#include "link/Decimal.h"
#include "link/ReplyStatus.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace setfolio {

class CurrentModel;
class EventLoop;
class Prompts;
class Timer;
class Transport;

// Receives the lines of a bench dump as they arrive. Throws when the file cannot be written.
class CaptureWriter {
public:
    virtual ~CaptureWriter() = default;
    // Sets key "Lines" of `section` to `lineNumber`, then key `lineNumber` to `line`.
    virtual void WriteCapturedLine(const std::string& fileName, std::string_view section,
                                   int lineNumber, const std::string& line) = 0;
};

// The progress bar a bench capture moves.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual int Position() const = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetMaximum(int maximum) = 0;
};

class SimpleProgress : public ProgressIndicator {
public:
    int Position() const override { return position; }
    void SetPosition(int value) override { position = value; }
    void SetMaximum(int value) override { maximum = value; }
    int position = 0;
    int maximum = 0;
};

inline constexpr int DefaultReplyTimeOutMs = 2500;
inline constexpr int BenchSelectTimeOutMs = 10000;
inline constexpr int EthernetReplyDelayMs = 250;
inline constexpr int EthernetLineTimeOutMs = 1000;

// One command and its classified reply at a time: sends a command line over the active
// transport, assembles the reply, classifies it with the parser of the current model's family
// and keeps the outcome in the fields below, where the callers read it.
class Exchange {
public:
    Exchange(EventLoop& loop, Transport& transport, const CurrentModel& model, Prompts& prompts);
    ~Exchange();

    // The exchange state; callers read it and, where their work requires, set it.
    ReplyStatus replyStatus = ReplyStatus::Pending;
    ExchangeStep exchangeStep = ExchangeStep::StepNone;
    std::string receiveBuffer;
    std::string lastReply;
    std::int32_t currentLibrary = 0;
    std::string mnemonicValue;
    std::string numericValue;
    std::string headerValue;
    std::string menuValue;
    std::string captureFileName;
    int captureLineNumber = 1;

    Timer& TimeOutTimer() { return *m_timeOutTimer; }
    Timer& DelayTimer() { return *m_delayTimer; }

    void SetCaptureWriter(CaptureWriter* writer) { m_captureWriter = writer; }
    // Nothing: the exchange's own indicator, which nobody shows.
    void SetCaptureProgress(ProgressIndicator* progress) {
        m_progress = progress ? progress : &m_ownProgress;
    }
    // The transport the exchanges go over and the loop their waits run; the bench upload streams
    // its lines past SendAndWait and waits for their acknowledgement itself.
    Transport& Link() { return m_transport; }
    EventLoop& Loop() { return m_loop; }

    // Sends `command` (which carries its CR) and returns when the exchange is over. While one
    // exchange waits, a second one is refused with the plain beep and changes nothing.
    void SendAndWait(std::string_view command);
    // True while an exchange waits for its reply.
    bool Busy() const { return m_busy; }
    void QueryLibrary();
    void SelectLibrary(int number);
    // The user's Abort: ends a serial wait at once; replies are not parsed while it holds.
    void Abort() { replyStatus = ReplyStatus::Aborted; }

    void ParseReply(const std::string& reply);
    // A captured line that could not be written ends the capture with FileError; the write's
    // error is raised again here, outside the event that received the line. SendAndWait calls
    // it after its wait; a caller that waits on its own calls it after its wait.
    void RethrowCaptureError();

    // Events of the serial port and the timers.
    void ComPortTriggerAvail(std::uint16_t count);
    void ComPortTriggerData(std::uint16_t handle);
    void TimeOutTimerTimer();
    void DelayTimerTimer();

private:
    void SendSerial(std::string_view command);
    void SendEthernet(std::string_view command);
    bool ReadEthernetLine();
    void ParseCodedReply(const std::string& reply);
    void ParseBenchReply(const std::string& reply);
    void ParseMenuReply(const std::string& reply);
    void CaptureLine(const std::string& reply);

    EventLoop& m_loop;
    Transport& m_transport;
    const CurrentModel& m_model;
    Prompts& m_prompts;
    std::unique_ptr<Timer> m_timeOutTimer;
    std::unique_ptr<Timer> m_delayTimer;
    CaptureWriter* m_captureWriter = nullptr;
    ProgressIndicator* m_progress = nullptr;
    SimpleProgress m_ownProgress;
    bool m_busy = false;
    std::exception_ptr m_captureError;
};

} // namespace setfolio
