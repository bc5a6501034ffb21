#pragma once

#include "link/ReplyStatus.h"
#include "tables/SiteVocabulary.h"

#include <functional>
#include <string>
#include <vector>

namespace setfolio {

class CurrentModel;
class Exchange;
struct ParameterTables;

// What learning the choice texts of a processor found and left behind.
struct LearningOutcome {
    // The texts read, row by row; a choice that stayed unknown keeps its built-in text.
    SiteVocabulary learned;
    // A choice (of a set of a conditional row, or -1) the processor refused, and how.
    struct Unknown {
        std::string row;
        int set = -1;
        int choice = 0;
        ReplyStatus status = ReplyStatus::Ok;
    };
    std::vector<Unknown> unknown;
    // Rows whose every choice was read: those that show texts of their own, and those that show
    // the built-in ones.
    std::vector<std::string> ownTexts;
    std::vector<std::string> builtInTexts;
    // Rows of the scratch library that could not be put back to the choice they had.
    std::vector<std::string> notRestored;
    bool restoredLibrary = false; // the library active before is active again
    // The processor's active library afterwards as last known: the one active before, or the
    // one it named when asked after a slow library switch.
    int activeLibrary = 0;
    // Ok, or why learning stopped early (the user's Abort, a lost link).
    ReplyStatus stopped = ReplyStatus::Ok;
};

// Learns the texts a processor shows for each choice of the mnemonic and conditional rows of
// `tables` (all of them, or those named in `rows`) by using library `scratch`, which the user
// gives up for it: the scratch library is selected, each row's current choice is noted, each
// choice is set in turn and the text shown for it is read (for a conditional row, under each
// choice of its source row); a choice the processor refuses is "unknown" and keeps the built-in
// text. Afterwards every row is set back to the choice it had, sources first, and the library
// that was active is selected again; this is attempted also after an Abort or a lost link, and
// what could not be put back is named. `active` is the library active now. `progress` hears each
// row as it starts.
LearningOutcome LearnVocabulary(Exchange& exchange, const CurrentModel& model,
                                const ParameterTables& tables, int active, int scratch,
                                const std::vector<std::string>& rows,
                                const std::function<void(const std::string& row)>& progress);

} // namespace setfolio
