// linecipher: deciphers and makes line entries, and lists the table that was built.
//
//   linecipher decode [--key KEY] [ENTRY]   the deciphered text
//   linecipher encode [--key KEY] [TEXT]    the stored form of TEXT
//   linecipher table                        each interface's number, a tab, its prefix
//
// Without ENTRY or TEXT the input is read whole from standard input, less one final
// line break.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lines/line_cipher.h"
#include "lines/line_table.h"

namespace {

constexpr int kUsageError = 2;

int usageError(std::string_view message) {
    std::cerr << "linecipher: " << message
              << " (usage: linecipher decode|encode [--key KEY] [TEXT], or linecipher table)\n";
    return kUsageError;
}

std::string readStandardInput() {
    std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    if (text.ends_with("\r\n")) {
        text.resize(text.size() - 2);
    } else if (text.ends_with('\n')) {
        text.pop_back();
    }
    return text;
}

void writeLine(std::string_view text) {
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout << '\n';
}

struct CipherArguments {
    std::string key{lines::kLineKey};
    std::optional<std::string> text;
};

// Parses "[--key KEY] [TEXT]"; an unknown option or a second text is an error.
std::optional<CipherArguments> parseCipherArguments(const std::vector<std::string>& args) {
    CipherArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--key") {
            if (i + 1 == args.size()) {
                return std::nullopt;
            }
            parsed.key = args[++i];
        } else if (args[i].starts_with("--key=")) {
            parsed.key = args[i].substr(6);
        } else if (args[i] == "--") {
            if (i + 2 != args.size() || parsed.text) {
                return std::nullopt;
            }
            parsed.text = args[i + 1];
            break;
        } else if (args[i].starts_with("--") || parsed.text) {
            return std::nullopt;
        } else {
            parsed.text = args[i];
        }
    }
    return parsed;
}

int runTable() {
    for (int n = 1; n <= lines::kInterfaceCount; ++n) {
        const auto prefix = lines::LineCipher(std::string(lines::LineTable[static_cast<std::size_t>(n - 1)]),
                                              std::string(lines::kLineKey));
        std::cout << n << '\t';
        writeLine(prefix);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return usageError("no command given");
    }
    const std::string& command = args.front();
    if (command == "table") {
        return args.size() == 1 ? runTable() : usageError("table takes no arguments");
    }
    if (command != "decode" && command != "encode") {
        return usageError("unknown command '" + command + "'");
    }
    const auto parsed = parseCipherArguments({args.begin() + 1, args.end()});
    if (!parsed) {
        return usageError("bad arguments to " + command);
    }
    const std::string text = parsed->text ? *parsed->text : readStandardInput();
    if (command == "decode") {
        writeLine(lines::LineCipher(text, parsed->key));
        return 0;
    }
    if (text.find('\0') != std::string::npos) {
        std::cerr << "linecipher: the text holds a zero byte and cannot be stored\n";
        return kUsageError;
    }
    writeLine(lines::makeLineEntry(text, parsed->key));
    return 0;
}
