#include "common/CommandLine.h"

#include <algorithm>
#include <getopt.h>
#include <sstream>

namespace vg {

namespace {

// getopt_long's tables for `options`; an option's index in `options` is its return value
// beyond the one-letter range.
constexpr int FirstLongIndex = 256;

std::string ShortOptionString(const std::vector<CommandLineOption>& options) {
    // ':' first: a missing value is told apart from an unknown option.
    std::string text = ":";
    for (const CommandLineOption& option : options) {
        if (option.Short != 0) {
            text += option.Short;
            text += option.ValueName.empty() ? "" : ":";
        }
    }
    return text;
}

std::vector<option> LongOptionTable(const std::vector<CommandLineOption>& options) {
    std::vector<option> table;
    for (size_t i = 0; i < options.size(); ++i) {
        table.push_back({options[i].Name.c_str(),
                         options[i].ValueName.empty() ? no_argument : required_argument, nullptr,
                         FirstLongIndex + static_cast<int>(i)});
    }
    table.push_back({nullptr, 0, nullptr, 0});
    return table;
}

const CommandLineOption* Find(const std::vector<CommandLineOption>& options, int code) {
    if (code >= FirstLongIndex && code < FirstLongIndex + static_cast<int>(options.size())) {
        return &options[static_cast<size_t>(code - FirstLongIndex)];
    }
    const auto it =
        std::find_if(options.begin(), options.end(), [code](const CommandLineOption& o) {
            return o.Short != 0 && o.Short == code;
        });
    return it != options.end() ? &*it : nullptr;
}

std::string DisplayName(const CommandLineOption& option) {
    return "--" + option.Name;
}

// What the user typed for the option getopt could not take: the word before optind.
std::string OffendingWord(const std::vector<char*>& argv, int optopt) {
    if (optopt != 0 && optopt < FirstLongIndex) {
        return std::string("-") + static_cast<char>(optopt);
    }
    const std::string word = argv[static_cast<size_t>(optind - 1)];
    return word.substr(0, word.find('='));
}

std::string UsageError(int code, const std::vector<CommandLineOption>& options,
                       const std::vector<char*>& argv) {
    if (const CommandLineOption* option = Find(options, optopt); option != nullptr) {
        return code == ':' ? "missing value for " + DisplayName(*option)
                           : DisplayName(*option) + " takes no value";
    }
    return "unknown option " + OffendingWord(argv, optopt);
}

} // namespace

bool ParseCommandLine(const std::vector<std::string>& args,
                      const std::vector<CommandLineOption>& options,
                      std::vector<std::string>& operands, std::string& error) {
    // getopt_long reorders the words it is given, so it gets copies.
    std::vector<std::string> words = args;
    words.insert(words.begin(), "program");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string shortOptions = ShortOptionString(options);
    const std::vector<option> longOptions = LongOptionTable(options);
    // A fresh scan each time (0 also resets getopt's own state), and no messages of its own.
    optind = 0;
    opterr = 0;
    const int argc = static_cast<int>(words.size());
    for (int code = 0; (code = getopt_long(argc, argv.data(), shortOptions.c_str(),
                                           longOptions.data(), nullptr)) != -1;) {
        const CommandLineOption* found = code == '?' || code == ':' ? nullptr : Find(options, code);
        if (found == nullptr) {
            error = UsageError(code, options, argv);
            return false;
        }
        const std::string value = optarg != nullptr ? optarg : "";
        if (!found->ValueName.empty() && value.empty()) {
            error = "empty value for " + DisplayName(*found);
            return false;
        }
        if (found->Apply && !found->Apply(value, error)) {
            error = DisplayName(*found) + ": " + error;
            return false;
        }
    }
    operands.assign(argv.begin() + optind, argv.end() - 1);
    return true;
}

std::string OptionsHelp(const std::vector<CommandLineOption>& options) {
    // The help texts start in one column and are wrapped to end before the 80th; an option
    // whose name and value reach that column has its text on the lines below.
    constexpr size_t LineWidth = 80;
    constexpr size_t WidestHead = 26;
    std::vector<std::string> heads;
    size_t width = 0;
    for (const CommandLineOption& option : options) {
        std::string head = option.Short != 0 ? std::string("-") + option.Short + ", " : "    ";
        head += DisplayName(option);
        if (!option.ValueName.empty()) {
            head.append(" ").append(option.ValueName);
        }
        if (head.size() <= WidestHead) {
            width = std::max(width, head.size());
        }
        heads.push_back(std::move(head));
    }
    const size_t column = 2 + width + 2;
    std::string text;
    for (size_t i = 0; i < options.size(); ++i) {
        std::string line = "  ";
        line.append(heads[i]);
        if (line.size() + 2 > column) {
            text.append(line).append("\n");
            line.clear();
        }
        std::istringstream words(options[i].Help);
        bool first = true;
        for (std::string word; words >> word; first = false) {
            if (!first && line.size() + 1 + word.size() > LineWidth - 1) {
                text.append(line).append("\n");
                line.clear();
                first = true;
            }
            if (first) {
                line.append(column - line.size(), ' ');
            } else {
                line.append(" ");
            }
            line.append(word);
        }
        text.append(line).append("\n");
    }
    return text;
}

} // namespace vg
