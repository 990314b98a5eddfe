#pragma once
// The commands of brenvik-cli, each a table beside the code that runs it, in the order the usage
// lists them.
#include <array>

#include "CommandTable.h"

namespace brenvik::cli {

extern const Command kInfoCommand;
extern const Command kToLoopCommand;
extern const Command kToWaveCommand;
extern const Command kConvertCommand;
extern const Command kPlayCommand;
extern const Command kBackupCommand;
extern const Command kRestoreCommand;
extern const Command kBackupsCommand;
extern const Command kListCommand;
extern const Command kNameCommand;
extern const Command kCheckCommand;
extern const Command kExportCommand;
extern const Command kMoveCommand;
extern const Command kCopyCommand;
extern const Command kSwapCommand;
extern const Command kDeleteCommand;
extern const Command kRenumberCommand;
extern const Command kUndoCommand;
extern const Command kRedoCommand;
extern const Command kRecoverCommand;
extern const Command kEjectCommand;
extern const Command kNamesCommand;

inline constexpr std::array<const Command*, 22> kCommands{
    &kInfoCommand,    &kToLoopCommand,  &kToWaveCommand,  &kConvertCommand, &kPlayCommand,
    &kBackupCommand,  &kRestoreCommand, &kBackupsCommand, &kListCommand,    &kNameCommand,   &kCheckCommand,
    &kExportCommand,  &kMoveCommand,    &kCopyCommand,    &kSwapCommand,    &kDeleteCommand,
    &kRenumberCommand, &kUndoCommand, &kRedoCommand, &kRecoverCommand, &kEjectCommand, &kNamesCommand};

}  // namespace brenvik::cli
