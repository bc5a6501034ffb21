#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace setfolio {

class CurrentModel;
class Exchange;
class MessageLog;
class MessageTexts;
class Prompts;
struct ParameterTables;

// The shared state and services every transfer engine works with.
struct TransferContext {
    Exchange& exchange;
    const CurrentModel& model;
    ParameterTables& tables;
    MessageLog& log;
    const MessageTexts& texts;
    Prompts& prompts;
    // When set, a download writes no file: each library it read completely is handed over here
    // (number and content).
    std::function<void(int library, const std::string& content)> readInto = {};
    // The processor's active library as the caller knows it, or nothing. A download puts the
    // processor back on it; a transfer that selected libraries leaves here the library the
    // processor has afterwards: the one it named when asked, else the one the transfer selected
    // last.
    std::int32_t* activeLibrary = nullptr;
    // With readInto: what a library read starts from (of choices with the same text, its numbers
    // are kept), instead of the file the download names.
    const std::string* readFrom = nullptr;
};

} // namespace setfolio
