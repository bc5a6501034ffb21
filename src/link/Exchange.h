#pragma once

#include "core/Signal.h"
#include "link/Decimal.h"
#include "link/Reply.h"
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
    // Line `lineNumber` of `section`, counted from 1.
    virtual void WriteCapturedLine(const std::string& fileName, std::string_view section,
                                   int lineNumber, const std::string& line) = 0;
};

// The progress bar a bench capture moves. It only shows how far a dump has come: what a dump's
// line means is the exchange's business.
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
// and returns it (status, the value it carried, its last line) to the caller. What the exchange
// keeps across calls is its own state: the status of the step at hand (which Fail, Accept and
// Abort may set), the user's Abort, whether it is busy, and the library a transfer selected.
//
// Re-entry: every wait (SendAndWait, QueryLibrary, SelectLibrary, SelectForTransfer, and a wait
// of the bench upload's own) runs the event loop until the reply is complete. Inside it run this
// exchange's serial port and timer events, which assemble and classify the reply and call the
// capture writer (which may call CutOffCapture); other timers (a transfer's progress ticks); and
// the user's input. From there:
// - a second SendAndWait, QueryLibrary, SelectLibrary or SelectForTransfer is refused with the
//   plain beep, sends nothing and changes nothing (Busy() lets a window refuse its button
//   earlier); its returned reply carries the waiting step's status and no value;
// - Abort is allowed: a serial wait ends at once with the reply Aborted; an Ethernet wait ends
//   once the line being read has come (Aborted) or timed out (NoConnection);
// - nothing else of the exchange may be called (Fail, Accept, BeginCapture, ExpectReply would
//   change the outcome the waiting code reads).
// An error raised inside one of the exchange's events is not thrown through the event loop: the
// wait ends and the error is raised again in the code that waited.
class Exchange {
public:
    Exchange(EventLoop& loop, Transport& transport, const CurrentModel& model, Prompts& prompts);
    ~Exchange();
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    // The status of the step at hand: the last exchange's, unless Fail, Accept or Abort changed
    // it since. A transfer's engines leave their outcome here.
    ReplyStatus replyStatus() const { return m_replyStatus; }
    ExchangeStep exchangeStep() const { return m_exchangeStep; }
    // The part of a serial reply line that has arrived so far.
    const std::string& receiveBuffer() const { return m_receiveBuffer; }
    // The last complete line the processor sent, whichever exchange it answered (or none): a
    // failed coded download shows it.
    const std::string& lastLineReceived() const { return m_lastLineReceived; }
    const std::string& captureFileName() const { return m_captureFileName; }
    int captureLineNumber() const { return m_captureLineNumber; }

    Timer& TimeOutTimer() { return *m_timeOutTimer; }

    // Every exchange ends here with its reply, whoever asked for it: one that went out and was
    // answered, timed out or aborted, one refused for the user's Abort or a closed port, one
    // whose connection broke (NoConnection), and the reply a bench upload waited for itself
    // (EndExpectedReply). A second exchange refused because one is waiting is none. What Fail,
    // Accept and Abort do to the step's status afterwards is no exchange either.
    Signal<const Reply&> exchanged;

    void SetCaptureWriter(CaptureWriter* writer) { m_captureWriter = writer; }
    // Nothing: the exchange's own indicator, which nobody shows.
    void SetCaptureProgress(ProgressIndicator* progress) {
        m_progress = progress ? progress : &m_ownProgress;
    }
    // The transport the exchanges go over and the loop their waits run; the bench upload streams
    // its lines past SendAndWait and waits for their acknowledgement itself.
    Transport& Link() { return m_transport; }
    EventLoop& Loop() { return m_loop; }

    // Sends `command` (which carries its CR) and returns the reply when the exchange is over.
    // Input that arrived before the command is dropped first, so a reply only ever answers its
    // own command. While one exchange waits, a second one is refused with the plain beep and
    // changes nothing.
    Reply SendAndWait(std::string_view command);
    // The same, for a command whose reply lines mean what `step` says.
    Reply SendAndWait(std::string_view command, ExchangeStep step);
    // True while an exchange waits for its reply.
    bool Busy() const { return m_busy; }
    // Asks for the processor's active library. An answer that is Ok but names no library
    // answered some other question: it counts as UnknownError. A model without a family asks
    // nothing: the reply carries the status as it was.
    Reply QueryLibrary();
    // Makes library `number` active; the reply is the processor's acknowledgement.
    Reply SelectLibrary(int number);
    // The library a transfer works on: it is noted (TransferLibrary), then selected.
    Reply SelectForTransfer(int library);
    // How many selects SelectForTransfer has sent (or tried to send), and the processor's
    // library as it stands since: the one selected last, or the one a library query heard
    // afterwards (the processor's own word, which the result lines name).
    int SelectsForTransfer() const { return m_selectsForTransfer; }
    int TransferLibrary() const { return m_transferLibrary; }
    // The user's Abort: ends a wait (see above); replies are not parsed while it holds, and every
    // exchange after it is refused as aborted until the transfer it belongs to has ended, so an
    // Abort between two exchanges (a pause, a retry's query) is never lost.
    void Abort() {
        m_abortRequested = true;
        m_replyStatus = ReplyStatus::Aborted;
    }
    bool AbortRequested() const { return m_abortRequested; }
    // The transfer the Abort belonged to has ended.
    void ForgetAbort() { m_abortRequested = false; }

    // Ends the step at hand with `status`: a value that matches nothing, a lost connection, a
    // file that cannot be read, a section that cannot be sent.
    void Fail(ReplyStatus status) { m_replyStatus = status; }
    // The step at hand counts as done although nothing (more) came back for it.
    void Accept() { m_replyStatus = ReplyStatus::Ok; }

    // The lines of the next exchange are a bench dump section (`step` says which), stored from
    // line 1 on through the capture writer for `fileName`.
    void BeginCapture(ExchangeStep step, std::string fileName);
    // A dump that goes on past every size it could have: the step ends CommandFailed, and the
    // rest of the dump is not read until the next exchange starts, so that its closing line
    // cannot turn the failure into success.
    void CutOffCapture();
    // The bench upload sends its lines itself: from now on the exchange waits for a reply that
    // `step` gives the meaning of; the caller waits for it itself, until replyStatus() is no
    // longer Pending. Returns the reply as it starts: Aborted after the user's Abort, else
    // Pending.
    Reply ExpectReply(ExchangeStep step);
    // The reply ExpectReply began, as far as it has come.
    Reply ExpectedReply() const { return Finished(); }
    // The caller's wait for the reply ExpectReply began is over: it ends as any exchange does
    // (exchanged). Does nothing when no such reply is open.
    void EndExpectedReply();
    // A reply line read outside SendAndWait (the bench upload over Ethernet): classified as any
    // reply line is. Returns the reply as far as it has come.
    Reply ClassifyLine(const std::string& line);

    // An error raised inside an event of the exchange (a captured line that could not be
    // written, above all) ends the wait; the error is raised again here, outside the event.
    // SendAndWait calls it after its wait; a caller that waits on its own calls it after its
    // wait.
    void RethrowCaptureError();

private:
    // SendAndWait without telling anyone: QueryLibrary tells of the reply it returns.
    Reply Transact(std::string_view command);
    Reply Ended(const Reply& reply);
    void SendSerial(std::string_view command);
    void SendEthernet(std::string_view command);
    bool ReadEthernetLine(int timeOutMs = EthernetLineTimeOutMs);
    // A new exchange begins: nothing of the last one's reply is carried over.
    void BeginReply();
    // The reply of the exchange at hand, with its status.
    Reply Finished() const;
    void ParseReply(const std::string& reply);
    void CaptureLine(const std::string& reply);
    // Runs an event's handler; an error it raises is kept for RethrowCaptureError.
    template <typename Handler> void Deferred(Handler&& handler);

    // Events of the serial port and the timers.
    void ComPortTriggerAvail(std::uint16_t count);
    void ComPortTriggerData(std::uint16_t handle);
    void TimeOutTimerTimer();
    void DelayTimerTimer();

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
    bool m_expecting = false; // a reply ExpectReply began is still open
    bool m_abortRequested = false;
    int m_selectsForTransfer = 0;
    bool m_captureCutOff = false;
    std::exception_ptr m_captureError;

    ReplyStatus m_replyStatus = ReplyStatus::Pending;
    ExchangeStep m_exchangeStep = ExchangeStep::StepNone;
    std::string m_receiveBuffer;
    // The serial line's reply grew past the longest line: the rest of it is dropped.
    bool m_droppingLine = false;
    std::string m_lastLineReceived;
    // The reply of the exchange at hand, as far as it has come; its status is m_replyStatus.
    Reply m_reply;
    // A bench dump's first line, which announces the dump's size, is still to come.
    bool m_dumpFirstLineDue = true;
    int m_transferLibrary = 0;
    std::string m_captureFileName;
    int m_captureLineNumber = 1;
};

} // namespace setfolio
