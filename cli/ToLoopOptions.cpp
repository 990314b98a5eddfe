#include "ToLoopOptions.h"

#include <charconv>
#include <regex>

namespace brenvik::cli {

namespace {

constexpr size_t kLoopBoxLength = 3;  // the loopNumber box takes at most 3 characters

std::optional<int> wholeNumber(const std::string& text) {
    int value = 0;
    const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

// Semitones with up to two decimals, as hundredths: "-1.5" is -150, "0.05" is 5.
std::optional<int> hundredths(const std::string& text) {
    static const std::regex form(R"(([+-]?)(\d*)(?:\.(\d{1,2}))?)");
    std::smatch parts;
    if (!std::regex_match(text, parts, form) || (parts[2].length() == 0 && parts[3].length() == 0))
        return std::nullopt;
    if (parts[2].length() > 4) return std::nullopt;
    std::string decimals = parts[3].str();
    decimals.resize(2, '0');
    const int magnitude = (parts[2].length() ? std::stoi(parts[2].str()) : 0) * 100 + std::stoi(decimals);
    return parts[1].str() == "-" ? -magnitude : magnitude;
}

class Parser {
public:
    Parser(const std::vector<std::string>& args, std::ostream& err) : m_args(args), m_err(err) {}

    std::optional<ToLoopOptions> parse() {
        ToLoopOptions o;
        std::optional<int> rightTrack;
        std::vector<std::string> positional;
        for (m_at = 0; m_at < m_args.size() && m_ok; ++m_at) {
            const std::string& arg = m_args[m_at];
            if (arg == "--dest") o.dest = value(arg);
            else if (arg == "--loop") o.loop = value(arg);
            else if (arg == "--beats") o.beats = number(arg, 1, 32768);
            else if (arg == "--beats-per-bar") o.beatsPerBar = number(arg, 1, 7);
            else if (arg == "--track") o.track = number(arg, 1, 4);
            else if (arg == "--right-track") rightTrack = number(arg, 1, 4);
            else if (arg == "--pan") o.pan = static_cast<int16_t>(number(arg, -100, 100));
            else if (arg == "--right-pan") o.rightPan = static_cast<int16_t>(number(arg, -100, 100));
            else if (arg == "--pitch") o.pitch = pitch(arg);
            else if (arg == "--right-pitch") o.rightPitch = pitch(arg);
            else if (arg == "--overwrite") o.overwrite = true;
            else if (arg.starts_with("--")) fail("unknown option " + arg);
            else positional.push_back(arg);
        }
        if (!m_ok) return std::nullopt;
        if (positional.empty()) return failed("give a SOURCE wave");
        o.sources = positional;
        if (o.dest.empty()) return failed("--dest DIR is required");
        if (o.loop && o.sources.size() > 1) return failed("--loop takes a single SOURCE");
        if (o.loop && o.loop->size() > kLoopBoxLength)
            return failed("--loop takes at most 3 characters, as the loop number box does");
        // The right channel goes to track 2, or to track 1 when the left one is on track 2.
        o.rightTrack = rightTrack.value_or(o.track == 2 ? 1 : 2);
        if (o.rightTrack == o.track) return failed("the left and the right channel cannot share a track");
        return o;
    }

private:
    std::string value(const std::string& option) {
        if (m_at + 1 >= m_args.size()) {
            fail(option + " needs a value");
            return {};
        }
        return m_args[++m_at];
    }

    int number(const std::string& option, int low, int high) {
        const std::string text = value(option);
        const std::optional<int> parsed = wholeNumber(text);
        if (m_ok && (!parsed || *parsed < low || *parsed > high))
            fail(option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        return m_ok ? *parsed : low;
    }

    int16_t pitch(const std::string& option) {
        const std::string text = value(option);
        const std::optional<int> parsed = hundredths(text);
        if (m_ok && (!parsed || *parsed < -2400 || *parsed > 1200))
            fail(option + " takes semitones from -24 to 12 with up to two decimals");
        return m_ok ? static_cast<int16_t>(*parsed) : int16_t{0};
    }

    void fail(const std::string& why) {
        if (m_ok) m_err << "brenvik-cli to-loop: " << why << '\n';
        m_ok = false;
    }

    std::optional<ToLoopOptions> failed(const std::string& why) {
        fail(why);
        return std::nullopt;
    }

    const std::vector<std::string>& m_args;
    std::ostream& m_err;
    size_t m_at = 0;
    bool m_ok = true;
};

}  // namespace

std::optional<ToLoopOptions> parseToLoopOptions(const std::vector<std::string>& args, std::ostream& err) {
    return Parser(args, err).parse();
}

}  // namespace brenvik::cli
