#pragma once

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

// The command line of murmo-backend.
struct BackendOptions
{
    std::string address = "127.0.0.1";
    int port = 8787;
    std::filesystem::path database = defaultDatabase();
    std::filesystem::path model = defaultModel();
    int workers = defaultWorkers();
    int unloadAfterSeconds = 300;
    int inviteLimit = 20;
    int recipientLimit = 3;
    int registrationLimit = 20;
    // Speech: "pocketsphinx" (offline, English) or "openai" (an OpenAI-compatible server).
    std::string engine = "pocketsphinx";
    std::string upstream;
    std::string upstreamModel = "whisper-1";
    std::filesystem::path upstreamKeyFile;
    int upstreamTimeoutSeconds = 120;
    // Insights and recaps: "rules" or "openai" (an OpenAI-compatible chat model).
    std::string writer = "rules";
    std::string writerUpstream;
    std::string writerModel;
    std::filesystem::path writerKeyFile;
    int writerTimeoutSeconds = 40;
    bool help = false;
    bool version = false;

    // Flags come as "--name value" or "--name=value"; the result is the options or a message
    // saying what is wrong, also when flags contradict each other (an upstream without the engine
    // that uses it).
    static std::variant<BackendOptions, std::string>
    parse(const std::vector<std::string>& arguments);
    static std::string usage();

    // $XDG_DATA_HOME/Murmo/backend.sqlite3, with ~/.local/share when XDG_DATA_HOME is unset.
    static std::filesystem::path defaultDatabase();
    static std::filesystem::path defaultModel();
    // One decoder per core, at most four: each holds its own copy of the language model.
    static int defaultWorkers();
};
