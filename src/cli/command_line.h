// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace palquin::cli {

/// Exit statuses, as Linux programs use them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  ///< a catalogue that cannot be read, output not written
inline constexpr int kExitUsage = 2;    ///< an unknown option, a bad value

struct Invocation;

/// What a mode of the command line works with.
struct Context {
    Context(std::filesystem::path catalogue, std::ostream& output, std::ostream& errors)
        : defaultCatalogue(std::move(catalogue)), out(output), err(errors) {}

    std::filesystem::path defaultCatalogue;  ///< the satellite.txt the window would use
    std::ostream& out;
    std::ostream& err;
    /// Whether out shows on a terminal, where catalogue text is printed with its control
    /// characters escaped. Unset: the system is asked when out is the standard output.
    std::optional<bool> outIsTerminal;
};

/// How a mode takes one of the options: the same option may follow different rules in two modes
/// (--latitude is 0 to 180 for --report, signed for --aim).
struct ModeOption {
    QString name;
    /// What is wrong with a value (empty when nothing is); nullptr for a flag or any value.
    QString (*check)(const QString& name, const QString& value) = nullptr;
    bool required = false;
    bool repeatable = false;  ///< listed as "[--extra ПОЗИЦИЯ]..." in the usage
};

/// A mode that runs without a window (--report). Another mode is one more row of Modes() and
/// one function: it reads its options from the invocation and writes to the context's streams.
struct ModeDefinition {
    QString name;       ///< the option that selects it: "report" for --report
    QString valueName;  ///< the name of the mode option's own value (--template ФАЙЛ), or empty
    QString description;              ///< one line for --help
    std::vector<ModeOption> options;  ///< the options it accepts, besides --catalogue
    int (*run)(const Invocation& invocation, Context& context);
    /// Draws pages, so the program gives it a QGuiApplication (on the offscreen platform: no
    /// display is needed) instead of a QCoreApplication.
    bool paints = false;
};

/// The modes, in the order --help lists them.
const std::vector<ModeDefinition>& Modes();

/// What the command line asks for.
struct Invocation {
    enum class Action {
        Window,   ///< no mode: the window (on --catalogue FILE when given)
        Help,     ///< --help
        Version,  ///< --version
        Mode,     ///< one of Modes()
        Error,    ///< a usage error: error holds its one line
    };
    Action action = Action::Window;
    const ModeDefinition* mode = nullptr;
    std::optional<std::filesystem::path> catalogue;  ///< --catalogue FILE, bytes as given
    /// The other options given, by long name, every value in the order given (none for a flag);
    /// the mode's own value under the mode's name.
    std::map<QString, QStringList> values;
    QString error;

    /// The option's value (a value option is given at most once).
    std::optional<QString> Value(const QString& name) const;
    QStringList Values(const QString& name) const;
    bool Has(const QString& name) const { return values.count(name) != 0; }
};

/// Reads the arguments (argv[0] is the program). Needs no application object and no display.
Invocation ParseArguments(const std::vector<std::string>& arguments);

/// Runs help, version, a usage error or a mode; returns the exit status.
int Run(const Invocation& invocation, Context& context);

/// For the window's --catalogue FILE: true when the file is a regular file that can be read;
/// otherwise a message naming it and the reason goes to err.
bool CheckCatalogue(const std::filesystem::path& file, std::ostream& err);

}  // namespace palquin::cli
