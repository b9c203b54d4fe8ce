#include "linux/linux_command_line.h"

#include "app/quillop_app.h"
#include "linux/prefix_options.h"
#include "linux/prefixes/prefix_dialog.h"
#include "platform/linux/process_environment.h"

#include <QApplication>

#include <cerrno>
#include <cstring>

LinuxCommandLine::LinuxCommandLine(int& argc, char** argv, bool outputClosed)
    : m_argc(argc)
    , m_argv(argv)
    , m_outputClosed(outputClosed)
{
    m_core.emplace(m_argc, m_argv);
}

std::string LinuxCommandLine::description() const
{
    return "Installs the Quenna Picture Vorn collection into the Vorns folder of Corvane in a Wine prefix.";
}

std::vector<KnownOption> LinuxCommandLine::options() const
{
    return {
        {"prefix", "dir|label",
         "Use the Wine prefix <dir>, as $WINEPREFIX would, or the one --list-prefixes labels <label> (such as "
         "bottles:NAME)."},
        {"list-prefixes", "",
         "List the Wine prefixes found: label, path and the Vorns folder Corvane's registration leads to in each."},
    };
}

std::vector<std::string> LinuxCommandLine::exitCodes() const
{
    return {"4  Corvane is in several Wine prefixes and --prefix names none"};
}

std::optional<UsageError> LinuxCommandLine::check(const GivenOptions& given)
{
    if (given.isSet("prefix"))
        return ResolvePrefix(given.value("prefix"), m_prefix, m_prefixLabel);
    return CheckWinePrefixVariable();
}

ExitCode LinuxCommandLine::runAlone(bool json)
{
    return ListPrefixes(json);
}

std::optional<ExitCode> LinuxCommandLine::prepareUnattended(UnattendedReport& report)
{
    return ChoosePrefix(m_prefix, m_prefixLabel, report);
}

std::optional<std::string> LinuxCommandLine::missingDisplay()
{
    return MissingDisplay();
}

int LinuxCommandLine::runWindow(const std::string& folder)
{
    m_core.reset();
    QApplication application(m_argc, m_argv);
    if (!UseWinePrefix(m_prefix))
        return 0;
    theApp.m_givenFolder = folder;
    return AfxWinMain(theApp);
}

std::string LinuxCommandLine::outputFailure() const
{
    return m_outputClosed ? "it is closed" : std::strerror(errno);
}
