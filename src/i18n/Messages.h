#pragma once

#include "i18n/TextCatalogue.h"
#include "link/ReplyStatus.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace setfolio {

// The named texts of messages. Each holds the text of the language applied last (English until
// a language is applied).
enum class MsgId {
    MsgCurrentLibraryIs,
    MsgTransactionError,
    MsgRunMode,
    MsgCommunicationError,
    MsgUnknownError,
    MsgNoConnection,
    MsgValueError,
    MsgCommandFailed,
    MsgInvalidCommand,
    MsgInvalidSource,
    MsgInvalidValue,
    MsgInvalidAction,
    MsgControlOrSpcOn,
    MsgDownloadOfLibrary,
    MsgTo,
    MsgComplete,
    MsgDownloadFailed,
    MsgDownloadAborted,
    MsgUploadOf,
    MsgToLibrary,
    MsgUploadFailed,
    MsgDoesNotExist,
    MsgUploadAborted,
    MsgEnterValidFilename,
    MsgSelectFileToLoad,
    MsgInvalidBlockFilename,
    MsgCalibrationWarning,
    MsgConfirmProceed,
};
inline constexpr std::size_t MessageCount = 28;

// Lines made of the catalogue's messages and values, each a whole sentence in every language:
// "{MsgName}" stands for that message's text, "{}" for a value (core/TextFormat.h). The
// values, in order:
enum class CatalogueLine {
    CurrentLibrary,        // the library
    CurrentLibraryUnknown, // the status text
    DownloadComplete,      // the library, the file
    DownloadFailed,        // why: the status text
    UploadComplete,        // the file, the library
    UploadFailed,          // why: the status text, or why the file is refused
    UploadFailedAt,        // the parameter sent last
    UploadFileMissing,     // the file
    CalibrationQuestion,   // none
};
inline constexpr std::size_t CatalogueLineCount = 9;

// A catalogue line's sentence in a language, before the messages are put in.
std::string_view CatalogueLinePattern(CatalogueLine id, Language language);

// The program's own messages, which the catalogue does not have: each in the three languages
// (OwnMessages.cpp), shown in the language applied last. "{}" marks where Format puts its
// arguments, in order.
enum class OwnMsg {
    // Upload refusals: the file, and the file's and the processor's models.
    FileHasNoModelNumber,
    FileHoldsOtherModel,
    // Values an upload cannot send: the file and the list of them; each one's section and key
    // (and the longest value a read gives).
    UploadUnsendable,
    UnsendableNotANumber,
    UnsendableControlByte,
    UnsendableTooLong,
    // What a transfer left behind in the processor: the library.
    LibraryPartlyWritten,
    // Library files: the path; the count and names of the block's files; the dump's section and
    // a number of bytes.
    FileIsWriteProtected,
    BlockFilesReplaced,
    DumpPastAnnouncedSize,
    DumpPastLargestLibrary,
    // A site's choice texts: the model and row, and the counts that do not fit; the file and why
    // it cannot be read.
    VocabularyUnknownRow,
    VocabularyWrongCount,
    VocabularyWrongSets,
    VocabularyWrongSetCount,
    VocabularyUnreadable,
    // A processor's text that matches no choice: the row, the text and the number of choices;
    // or the row, its source, the source's value and the number of sets.
    ValueNotAChoice,
    ValueSourceOutside,
    // A library read back after an upload: its number, and the parameters that differ.
    UploadNotVerified,
    // The about box: its title, what the program does, the version, the build date, and where
    // the settings are kept (the folder).
    AboutTitle,
    AboutSummary,
    AboutVersion,
    AboutBuilt,
    AboutKeptBesideProgram,
    AboutKeptForUser,
    // The main window's status line: a device name; an error's text.
    StatusDeviceMissing,
    StatusNoAddress,
    StatusNoExchange,
    StatusAnswered,
    StatusAnsweredWith,
    StatusNoAnswer,
    StatusPortClosed,
    StatusAborted,
    // The message window's menu and its file: the file's path.
    LogSave,
    LogClear,
    LogSaveTitle,
    LogCannotSave,
    LogSaved,
    // The link's trace: its menu item, the file dialog's title, the status line while it is on;
    // a file's path.
    TraceMenu,
    TraceTitle,
    TraceOn,
    TraceCannotWrite,
    TraceStarted,
    TraceStopped,
    // A block transfer: the library, its place in the block and the block's size; a time.
    BlockProgress,
    BlockTimeLeft,
    // The library viewer.
    ViewLibraryMenu,
    ViewerCaption,
    ViewerOpen,
    ViewerCompare,
    ViewerFilter,
    ViewerOnlyDifferences,
    // A row whose two choices differ in number only.
    ViewerSameText,
    ViewerSection,
    ViewerParameter,
    ViewerStored,
    ViewerMeaning,
    ViewerOpenTitle,
    ViewerCompareTitle,
    ViewerCannotRead,
    // Which of two compared files a problem is in ("A" or "B"), and the problem.
    ViewerProblemOfFile,
    // The columns of a compared file ("A" or "B").
    ViewerStoredOfFile,
    ViewerMeaningOfFile,
    // What does not fit in a library file, read against its model's tables: the section and key
    // first where there is one; the model's name or number; a stored value and the number of
    // choices; a source row, what it holds and the number of sets; a section's Lines; what an
    // upload sends in place of a key the file lacks.
    DecodedNoModelNumber,
    DecodedUnknownModel,
    DecodedNotAKey,
    DecodedNotAModelNumber,
    DecodedNotAChoice,
    DecodedSourceOutside,
    DecodedNotAParameter,
    DecodedNotASection,
    DecodedNotALineCount,
    DecodedNotALine,
    DecodedMissingSends,
    DecodedMissingSendsEmpty,
    // A name that comes again: the section and key, the line, the value there and the value
    // readers take; or the section, the line and the number of its keys.
    DecodedKeyAgain,
    DecodedSectionAgain,
    // What a dump section holds: its lines and their bytes.
    DecodedDumpSize,
    // The link's reports, in the order of LinkReport (link/Transport.h), whose English they
    // are: a port number; an IP list entry and the port it leads to; a device's path.
    LinkPortAlreadyOpen,
    LinkPortDoesNotExist,
    LinkPortOtherError,
    LinkNoIpAddress,
    LinkInvalidIpAddress,
    LinkCannotConnect,
    LinkDeviceDoesNotExist,
    LinkDeviceIsAFile,
    LinkDeviceIsAFolder,
    LinkDeviceCannotOpen,
    LinkPortDeviceMissing,
    // The communications dialog's own controls.
    CommsEthernet,
    CommsEthernetHint,
    CommsSerial,
    CommsSerialHint,
    CommsIpAddress,
    CommsIpAddressHint,
    CommsEditList,
    CommsEditListHint,
    CommsDevice,
    CommsDeviceHint,
    CommsAvailable,
    CommsAvailableHint,
    CommsAssign,
    CommsAssignHint,
    // Where a COM port leads: nowhere; a link's device that is not there; no device found.
    PortNoDevice,
    PortDeviceMissing,
    NoSerialDevices,
    // Making a port's link: no port chosen; the entry that is no link; the port, the device and
    // why the link cannot be made.
    ChoosePortFirst,
    PortEntryNotALink,
    PortLinkFailed,
    // A serial setting without a valid choice: none marked; the marked text.
    ComPortNotSelected,
    ComPortInvalid,
    BaudRateNotSelected,
    BaudRateInvalid,
    DataBitsNotSelected,
    DataBitsInvalid,
    StopBitsNotSelected,
    StopBitsInvalid,
    // The IP address list dialog.
    IpListCaption,
    IpListAddress,
    IpListAddressHint,
    IpListName,
    IpListNameHint,
    IpListAdd,
    IpListAddHint,
    IpListList,
    IpListMove,
    IpListUpHint,
    IpListDownHint,
    IpListDelete,
    IpListDeleteHint,
    IpListOk,
    IpListOkHint,
    IpListCancel,
    IpListCancelHint,
    IpListEnterAddress,
    IpListSelectAddress,
    IpListInvalidAddress,
    // Texts of other windows that the catalogue gives in English only.
    UploadIncludeCommonHint,
    LibraryFilesFilter,
    LibraryFilesFilterToOpen,
    TextFilesFilter,
    SelectValidComPort,
    // The plant window: its menu item, caption, buttons, columns, states and log lines.
    PlantMenu,
    PlantCaption,
    PlantOpen,
    PlantFolder,
    PlantBackup,
    PlantVerify,
    PlantRestore,
    PlantHistory,
    PlantStop,
    PlantClose,
    PlantInventory,
    PlantNoInventory,
    PlantBackupFolder,
    PlantGitFolder,
    PlantColumnName,
    PlantColumnModel,
    PlantColumnLink,
    PlantColumnRunning,
    PlantColumnLastBackup,
    PlantColumnState,
    PlantColumnChanged,
    PlantLibrary,
    PlantStateUnchanged,
    PlantStateChanged,
    PlantStateFailed,
    PlantStateNotRead,
    PlantOutcomeOk,
    PlantOutcomeFailed,
    PlantOutcomeNotReached,
    PlantOutcomeStopped,
    PlantOutcomeNotPutBack,
    PlantOpenTitle,
    PlantInventoriesFilter,
    PlantFolderTitle,
    PlantCannotRead,
    PlantInventoryProblem,
    PlantProgress,
    PlantDifferences,
    PlantShowDifference,
    PlantVersions,
    PlantCompareVersions,
    PlantLine,
    PlantLibraryChanged,
    PlantLibraryUnchanged,
    PlantLibraryFailed,
    PlantBackupDone,
    PlantCommitted,
    PlantNothingToCommit,
    PlantVerifyEqual,
    PlantVerifyDiffers,
    PlantRestored,
    PlantRestoredDiffers,
    PlantRefused,
    PlantVerifyDone,
    PlantRestoreDone,
    PlantStopped,
    PlantRestoreQuestion,
    PlantLibraries,
    PlantNoHistory,
    PlantChooseLibrary,
    PlantHistoryOf,
    PlantVersionOf,
    PlantReadBackOf,
    PlantCannotReadVersion,
};
inline constexpr std::size_t OwnMessageCount = 206;

std::string_view OwnText(OwnMsg id, Language language);

// The text of a message in a language, from the text catalogue (UTF-8).
std::string_view CatalogueText(MsgId id, Language language);

class MessageTexts {
public:
    MessageTexts();

    const std::string& Text(MsgId id) const { return m_texts[static_cast<std::size_t>(id)]; }
    std::string Text(OwnMsg id) const { return std::string(OwnText(id, m_language)); }
    // The message with its arguments put in as they are (core/TextFormat.h).
    std::string Format(OwnMsg id, std::initializer_list<std::string_view> arguments) const;
    std::string Format(OwnMsg id, std::span<const std::string_view> arguments) const;
    // The line with the messages of the language applied last and the values put in.
    std::string Format(CatalogueLine id, std::initializer_list<std::string_view> values) const;
    void Apply(Language language);
    // The language of the own messages; the catalogue's messages are set one by one.
    void UseLanguage(Language language) { m_language = language; }
    Language CurrentLanguage() const { return m_language; }
    void Set(MsgId id, std::string text) {
        m_texts[static_cast<std::size_t>(id)] = std::move(text);
    }
    // The text that names the outcome of a failed exchange; empty for a status without one.
    std::string StatusText(ReplyStatus status) const;

private:
    std::array<std::string, MessageCount> m_texts;
    Language m_language = Language::English;
};

} // namespace setfolio
