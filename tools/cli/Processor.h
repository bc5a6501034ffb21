#pragma once

#include "CliOptions.h"
#include "Console.h"
#include "ProcessorOptions.h"
#include "Streams.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace setfolio {
class CurrentModel;
class EventLoop;
class Exchange;
class MessageTexts;
class ProcessorSession;
class TransferView;
struct TransferContext;
} // namespace setfolio

namespace setfolio::cli {

// The processor on an open link, its active library just asked for. What the commands need to
// know of the exchange's outcome they ask here; the active library is kept up to date by the
// transfers run through it.
class Processor {
public:
    Processor(EventLoop& loop, ProcessorSession& session, const MessageTexts& texts,
              const Streams& io, ProgressLine& progress);

    Exchange& exchange;
    CurrentModel& model;

    // Whether the last exchange ended Ok.
    bool Ok() const;
    // The processor's active library as last known.
    int CurrentLibrary() const;
    // Prints the line the main window shows after a library query or change; the exit status
    // that goes with it.
    int ReportLibrary(int library) const;
    // Runs a download or upload of `libraries` with the message window's lines on the output
    // stream as they come; the exit status.
    int Transfer(const TransferOptions& libraries,
                 const std::function<void(const TransferContext&, TransferView&)>& run) const;
    // Reads libraries first..last as a download does, into memory: no file is written, and the
    // processor goes back to its active library afterwards. Each library read completely, by
    // number; what failed has been reported. The progress line names each "`what` N".
    std::map<int, std::string> ReadBack(const TransferOptions& libraries,
                                        const std::string& what) const;
    const MessageTexts& Texts() const { return m_texts; }
    const SiteVocabulary* Vocabulary() const;
    // The streams the command writes to.
    const Streams& Io() const { return m_io; }
    // The terminal's progress line; cleared before a line goes to either stream.
    ProgressLine& Progress() const { return m_progress; }
    // Clears the progress line and prints `line` on the output stream.
    void Print(const std::string& line) const;

private:
    // Runs `run` with the message window's lines on the output stream; whether the view was never
    // refused. With `readInto`, a download hands its libraries over instead of writing files.
    bool Run(const ProgressCaption& caption,
             const std::function<void(const TransferContext&, TransferView&)>& run,
             std::function<void(int, const std::string&)> readInto) const;

    EventLoop& m_loop;
    ProcessorSession& m_session;
    const MessageTexts& m_texts;
    const Streams& m_io;
    ProgressLine& m_progress;
    mutable std::int32_t m_library = 0;

    friend int WithProcessor(const LinkSettings&, const Streams&,
                             const std::function<int(Processor&)>&);
};

// Opens the link and asks for the active library; when the processor answered, `work` goes on.
// The exit status: `work`'s, or 1 when the link could not be opened or the processor did not
// answer (a failed connection names the host and port).
int WithProcessor(const LinkSettings& link, const Streams& io,
                  const std::function<int(Processor&)>& work);

} // namespace setfolio::cli
