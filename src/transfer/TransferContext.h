#pragma once

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
};

} // namespace setfolio
