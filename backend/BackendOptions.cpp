#include "BackendOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>

namespace {

constexpr int maxWorkers = 16;
constexpr int maxPort = 65535;
constexpr int maxLimit = 100000;
constexpr int maxSeconds = 7 * 24 * 3600;
// Within the time the client waits for a dictation (240 s) and for insights or a recap (60 s),
// with room left for the work around them.
constexpr int maxUpstreamSeconds = 230;
constexpr int maxWriterSeconds = 55;

using Setter = std::function<std::string(BackendOptions&, const std::string&)>;

std::string setNumber(int& target, const std::string& value, int lowest, int highest)
{
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || number < lowest ||
        number > highest) {
        return "expects a whole number from " + std::to_string(lowest) + " to " +
               std::to_string(highest);
    }
    target = number;
    return {};
}

template<typename T>
std::string setNonEmpty(T& target, const std::string& value)
{
    if (value.empty()) {
        return "expects a value";
    }
    target = value;
    return {};
}

std::string setChoice(std::string& target, const std::string& value, std::string_view first,
                      std::string_view second)
{
    if (value != first && value != second) {
        return "expects " + std::string(first) + " or " + std::string(second);
    }
    target = value;
    return {};
}

// Flags that only mean something with another choice made.
std::string contradiction(const BackendOptions& o)
{
    if (o.engine == "openai" && o.upstream.empty()) {
        return "--engine openai needs --upstream URL";
    }
    if (o.engine != "openai" && (!o.upstream.empty() || !o.upstreamKeyFile.empty())) {
        return "--upstream and --upstream-key-file need --engine openai";
    }
    if (o.writer == "openai" && (o.writerUpstream.empty() || o.writerModel.empty())) {
        return "--writer openai needs --writer-upstream URL and --writer-model NAME";
    }
    if (o.writer != "openai" && (!o.writerUpstream.empty() || !o.writerKeyFile.empty())) {
        return "--writer-upstream and --writer-key-file need --writer openai";
    }
    return {};
}

const std::map<std::string, Setter>& setters()
{
    static const std::map<std::string, Setter> table = {
        {"--address", [](auto& o, const auto& v) { return setNonEmpty(o.address, v); }},
        {"--port", [](auto& o, const auto& v) { return setNumber(o.port, v, 0, maxPort); }},
        {"--database", [](auto& o, const auto& v) { return setNonEmpty(o.database, v); }},
        {"--model", [](auto& o, const auto& v) { return setNonEmpty(o.model, v); }},
        {"--workers",
         [](auto& o, const auto& v) { return setNumber(o.workers, v, 1, maxWorkers); }},
        {"--unload-after",
         [](auto& o, const auto& v) { return setNumber(o.unloadAfterSeconds, v, 1, maxSeconds); }},
        {"--invite-limit",
         [](auto& o, const auto& v) { return setNumber(o.inviteLimit, v, 0, maxLimit); }},
        {"--recipient-limit",
         [](auto& o, const auto& v) { return setNumber(o.recipientLimit, v, 0, maxLimit); }},
        {"--registration-limit",
         [](auto& o, const auto& v) { return setNumber(o.registrationLimit, v, 0, maxLimit); }},
        {"--engine",
         [](auto& o, const auto& v) { return setChoice(o.engine, v, "pocketsphinx", "openai"); }},
        {"--upstream", [](auto& o, const auto& v) { return setNonEmpty(o.upstream, v); }},
        {"--upstream-model",
         [](auto& o, const auto& v) { return setNonEmpty(o.upstreamModel, v); }},
        {"--upstream-key-file",
         [](auto& o, const auto& v) { return setNonEmpty(o.upstreamKeyFile, v); }},
        {"--upstream-timeout",
         [](auto& o, const auto& v) {
             return setNumber(o.upstreamTimeoutSeconds, v, 1, maxUpstreamSeconds);
         }},
        {"--writer",
         [](auto& o, const auto& v) { return setChoice(o.writer, v, "rules", "openai"); }},
        {"--writer-upstream",
         [](auto& o, const auto& v) { return setNonEmpty(o.writerUpstream, v); }},
        {"--writer-model", [](auto& o, const auto& v) { return setNonEmpty(o.writerModel, v); }},
        {"--writer-key-file",
         [](auto& o, const auto& v) { return setNonEmpty(o.writerKeyFile, v); }},
        {"--writer-timeout",
         [](auto& o, const auto& v) {
             return setNumber(o.writerTimeoutSeconds, v, 1, maxWriterSeconds);
         }},
    };
    return table;
}

} // namespace

std::variant<BackendOptions, std::string>
BackendOptions::parse(const std::vector<std::string>& arguments)
{
    BackendOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--version") {
            options.version = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto setter = setters().find(name);
        if (setter == setters().end()) {
            return "unknown option " + argument;
        }
        const bool valueInline = equals != std::string::npos;
        if (!valueInline && i + 1 >= arguments.size()) {
            return name + " expects a value";
        }
        const std::string value = valueInline ? argument.substr(equals + 1) : arguments[++i];
        if (const std::string error = setter->second(options, value); !error.empty()) {
            return name + " " + error;
        }
    }
    if (const std::string error = contradiction(options); !error.empty()) {
        return error;
    }
    return options;
}

std::string BackendOptions::usage()
{
    return "Usage: murmo-backend [options]\n"
           "\n"
           "The reference Murmo backend: registers installations, transcribes dictations offline\n"
           "and writes insights and recaps, on one machine and without any cloud account.\n"
           "\n"
           "Options:\n"
           "  --address ADDR       address to listen on (default 127.0.0.1)\n"
           "  --port PORT          port to listen on (default 8787; 0 picks a free one)\n"
           "  --database FILE      SQLite database of installations, onboarding reports and the\n"
           "                       invitation outbox (default " +
           defaultDatabase().string() +
           ")\n"
           "  --model DIR          pocketsphinx model directory (default " +
           defaultModel().string() +
           ")\n"
           "  --workers N          speech decoders, which is also the number of dictations\n"
           "                       transcribed at once (default " +
           std::to_string(defaultWorkers()) +
           ")\n"
           "  --unload-after SECS  unload a decoder after this long without work (default 300)\n"
           "  --invite-limit N     invitations one installation may queue per UTC day (default "
           "20)\n"
           "  --recipient-limit N  invitations one address may receive per UTC day (default 3)\n"
           "  --registration-limit N\n"
           "                       registrations from one client address per hour (default 20)\n"
           "\n"
           "Speech (see the README for servers to use):\n"
           "  --engine NAME        pocketsphinx (default: offline, English only) or openai (an\n"
           "                       OpenAI-compatible transcription server, any language)\n"
           "  --upstream URL       the server, e.g. http://127.0.0.1:8080 or\n"
           "                       https://api.openai.com/v1; plain http only to this machine\n"
           "  --upstream-model NAME  model to ask for (default whisper-1)\n"
           "  --upstream-key-file FILE  file holding its API key; readable by you alone\n"
           "  --upstream-timeout SECS   longest silence from the server (default 120)\n"
           "\n"
           "Insights and recaps:\n"
           "  --writer NAME        rules (default) or openai (an OpenAI-compatible chat model,\n"
           "                       with the rules standing in whenever its answer is unusable)\n"
           "  --writer-upstream URL  the chat server, e.g. http://127.0.0.1:8081\n"
           "  --writer-model NAME  model to ask for\n"
           "  --writer-key-file FILE  file holding its API key; readable by you alone\n"
           "  --writer-timeout SECS   longest wait for the model (default 40)\n"
           "\n"
           "  --help               show this help\n"
           "  --version            show the version\n"
           "\n"
           "With pocketsphinx a dictation asking for another language than English (\"lang\") is\n"
           "refused with 400. Invitations are queued in the outbox table; this server sends no\n"
           "mail itself.\n"
           "\n"
           "Once ready it prints one line: murmo-backend listening on http://ADDR:PORT\n";
}

std::filesystem::path BackendOptions::defaultDatabase()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path base =
        dataHome && *dataHome ? std::filesystem::path(dataHome)
                              : std::filesystem::path(home ? home : ".") / ".local/share";
    return base / "Murmo" / "backend.sqlite3";
}

std::filesystem::path BackendOptions::defaultModel()
{
    return MURMO_POCKETSPHINX_MODEL;
}

int BackendOptions::defaultWorkers()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
}
