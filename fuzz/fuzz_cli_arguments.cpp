// brenvik-cli's reading of its command line: the input is the arguments, each ended by a zero
// byte (the last by the input's end). They are read against copies of every command's table whose
// run touches no file but checks what the reader handed it against the table: positional
// arguments as many as the table takes and none empty, each option given at most once unless it
// may repeat, every required one given, a path not empty, a text within its length, a number
// within its range and written back as the same number.
//
// Invariants: no crash; the exit status is 0, 1 or 2; bad usage (2) says what is wrong and shows
// the usage on standard error and nothing on standard output.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "Arguments.h"
#include "Cli.h"
#include "Commands.h"
#include "NumberText.h"

namespace {

using namespace brenvik::cli;

const Command* g_reading = nullptr;  // the table of the command line being read
bool g_ran = false;

bool checkOption(const Arguments& args, const Option& option) {
    const size_t count = args.numbers(option.name).size();
    if ((count > 1 && !option.repeatable) || (count == 0 && option.required)) return false;
    if (count == 0) return true;
    switch (option.kind) {
    case ValueKind::None: return true;
    case ValueKind::Path: return !args.text(option.name)->empty();
    case ValueKind::Text: return option.maxLength == 0 || args.text(option.name)->size() <= option.maxLength;
    case ValueKind::Number:
        for (const int value : args.numbers(option.name))
            if (value < option.low || value > option.high ||
                readNumber(numberText(value, option.decimals), option.decimals) != value)
                return false;
        return true;
    }
    return false;
}

int checkArguments(const Arguments& args, std::ostream&, std::ostream&, bool) {
    g_ran = true;
    const auto& table = g_reading->positionals;
    const auto& given = args.positionals();
    size_t least = 0;
    for (const Positional& positional : table) least += positional.count == Count::One ? 1 : 0;
    const bool many = !table.empty() && table.back().count == Count::Many;
    if (given.size() < least || (!many && given.size() > table.size())) std::abort();
    for (const std::string& value : given)
        if (value.empty()) std::abort();
    for (const Option& option : g_reading->options)
        if (!checkOption(args, option)) std::abort();
    return kOk;
}

struct StandIns {
    std::array<Command, kCommands.size()> commands;
    std::array<const Command*, kCommands.size()> table;
    StandIns() {
        for (size_t i = 0; i < kCommands.size(); ++i) {
            commands[i] = *kCommands[i];
            commands[i].run = checkArguments;
            table[i] = &commands[i];
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const StandIns standIns;
    std::vector<std::string> args;
    for (size_t at = 0; at < size;) {
        const auto* end = static_cast<const uint8_t*>(std::memchr(data + at, 0, size - at));
        const size_t stop = end ? static_cast<size_t>(end - data) : size;
        args.emplace_back(reinterpret_cast<const char*>(data + at), stop - at);
        at = stop + 1;
        if (end && at == size) args.emplace_back();
    }
    g_reading = nullptr;
    for (const Command* command : standIns.table)
        if (!args.empty() && command->name == args[0]) g_reading = command;
    g_ran = false;

    std::ostringstream out, err;
    const int status = run(standIns.table, args, out, err);
    if (status != kOk && status != kFailed && status != kUsage) std::abort();
    if (g_ran && (status != kOk || !out.str().empty() || !err.str().empty())) std::abort();
    if (status == kUsage) {
        const std::string message = err.str();
        if (!out.str().empty() || message.find("usage: brenvik-cli") == std::string::npos) std::abort();
        if (!args.empty() && !message.starts_with("brenvik-cli")) std::abort();
    }
    if (status == kOk && !g_ran && out.str().empty()) std::abort();  // help and version print
    return 0;
}
