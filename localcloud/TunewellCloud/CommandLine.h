#pragma once

#include "TunewellCloud/CloudOptions.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace TunewellCloud {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "tunewell-cloud COMMAND [--name value | --flag]... [ARGUMENT]..."
struct CommandLine {
    std::string command;
    std::map<std::string, std::string> options;
    std::vector<std::string> arguments;

    // Options that take no value.
    static CommandLine parse(const std::vector<std::string> &words, const std::vector<std::string> &flags);

    bool has(const std::string &name) const { return options.contains(name); }
    std::string text(const std::string &name, const std::string &fallback) const;
    // A whole number within [lowest, highest]; UsageError otherwise.
    long long number(const std::string &name, long long fallback, long long lowest, long long highest) const;
    // Fails for an option the command does not know.
    void allowOnly(const std::vector<std::string> &names) const;

    CloudOptions cloudOptions() const;
    // --tls, --cert FILE and --key FILE: the two files go together and mean --tls.
    TlsOptions tlsOptions() const;
};

extern const char *const kUsage;

} // namespace TunewellCloud
