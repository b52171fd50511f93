#include "BackendServer.h"

#include <algorithm>
#include <httplib.h>
#include <iostream>

#include "AudioDecoder.h"
#include "BackendStore.h"
#include "Base64.h"
#include "EmailAddress.h"
#include "InsightsWriter.h"
#include "RecapWriter.h"
#include "RequestBody.h"
#include "RequestError.h"
#include "SpeechEngine.h"
#include "TranscriptCategorizer.h"
#include "TranscriptCleaner.h"

namespace {

constexpr int ok = 200;
constexpr int badRequest = 400;
constexpr int unauthorized = 401;
constexpr int tooLarge = 413;
constexpr int unprocessable = 422;
constexpr int tooManyRequests = 429;
constexpr int internalError = 500;
// Device identifiers, onboarding sources and sender names are short; anything longer is abuse.
constexpr std::size_t maxShortText = 200;

// Reads the body whatever its transfer encoding. Past the limit the rest is still read, and
// dropped, so that the client hears the 413 instead of a reset connection.
std::string readBody(const httplib::Request& request, const httplib::ContentReader& reader,
                     const httplib::Response& response)
{
    // A request with neither header has no body at all, as when no onboarding source is sent.
    if (!request.has_header("Content-Length") && !request.has_header("Transfer-Encoding")) {
        return {};
    }
    std::string body;
    bool overLimit = false;
    const bool complete = reader([&](const char* data, std::size_t length) {
        if (!overLimit && body.size() + length > BackendServer::maxBodyBytes) {
            overLimit = true;
            std::string().swap(body);
        }
        if (!overLimit) {
            body.append(data, length);
        }
        return true;
    });
    // A declared length over the limit is refused by the library, which sets the status.
    if (overLimit || response.status == tooLarge) {
        throw RequestError(tooLarge, "the request body is larger than 50 MB");
    }
    if (!complete) {
        throw RequestError(badRequest, "the request body could not be read");
    }
    return body;
}

void reply(httplib::Response& response, int status, const nlohmann::json& body)
{
    response.status = status;
    response.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                         "application/json");
}

void replyError(httplib::Response& response, int status, const std::string& message)
{
    reply(response, status, {{"error", message}});
}

// Errors the HTTP library answers by itself arrive without a body; give them the usual one.
std::string libraryErrorMessage(int status)
{
    return status == 404 ? "no such endpoint" : "the request could not be read";
}

std::string bearerToken(const httplib::Request& request)
{
    const std::string header = request.get_header_value("Authorization");
    constexpr std::string_view scheme = "bearer ";
    if (header.size() < scheme.size() ||
        !std::equal(scheme.begin(), scheme.end(), header.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        })) {
        return {};
    }
    return header.substr(scheme.size());
}

// A short, printable text: it ends up in the database and in e-mail headers.
std::optional<std::string> shortText(const RequestBody& body, const char* key)
{
    auto value = body.optionalText(key);
    if (value && (value->size() > maxShortText || std::ranges::any_of(*value, [](unsigned char c) {
                      return c < 0x20 || c == 0x7F;
                  }))) {
        throw RequestError(badRequest, std::string("\"") + key + "\" is too long or not printable");
    }
    return value && !value->empty() ? value : std::nullopt;
}

AudioDecoder::Samples decodeAudio(const AudioDecoder& decoder, const RequestBody& body)
{
    const std::string& ext = body.text("ext");
    if (ext != "m4a" && ext != "wav") {
        throw RequestError(badRequest, "\"ext\" must be \"m4a\" or \"wav\"");
    }
    const auto file = Base64::decode(body.text("audio"));
    if (!file) {
        throw RequestError(badRequest, "\"audio\" is not valid Base64");
    }
    auto decoded = decoder.decode(*file);
    if (const auto* error = std::get_if<AudioDecoder::Error>(&decoded)) {
        throw *error == AudioDecoder::Error::tooLong
            ? RequestError(tooLarge, "the recording is longer than " +
                                         std::to_string(decoder.maxDuration().count()) + " s")
            : RequestError(badRequest, "the audio could not be decoded as m4a or wav");
    }
    return std::get<AudioDecoder::Samples>(std::move(decoded));
}

} // namespace

BackendServer::BackendServer(BackendStore& store, SpeechEngine& engine, const AudioDecoder& decoder,
                             Settings settings)
    : m_store(store)
    , m_engine(engine)
    , m_decoder(decoder)
    , m_settings(settings)
    , m_server(std::make_unique<httplib::Server>())
{
    const std::size_t threads = std::max<std::size_t>(1, m_settings.threads);
    m_server->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    m_server->set_payload_max_length(maxBodyBytes);
    // One request per connection: an idle keep-alive connection would hold one of the few
    // workers for nothing.
    m_server->set_keep_alive_max_count(1);
    m_server->set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            replyError(response, response.status, libraryErrorMessage(response.status));
        }
    });
    if (m_settings.logRequests) {
        m_server->set_logger(
            [](const httplib::Request& request, const httplib::Response& response) {
                std::clog << request.method << ' ' << request.path << ' ' << response.status
                          << std::endl;
            });
    }
    route("/api/register", [this](const auto&, const auto& b) { return registerDevice(b); });
    route("/api/dictate", [this](const auto& r, const auto& b) { return dictate(r, b); });
    route("/api/onboarded", [this](const auto& r, const auto& b) { return reportOnboarded(r, b); });
    route("/api/invite", [this](const auto& r, const auto& b) { return invite(r, b); });
    route("/api/insights", [this](const auto& r, const auto& b) { return insights(r, b); });
    route("/api/summary", [this](const auto& r, const auto& b) { return summary(r, b); });
}

BackendServer::~BackendServer() = default;

int BackendServer::bind(const std::string& address, int port)
{
    if (port == 0) {
        return m_server->bind_to_any_port(address);
    }
    return m_server->bind_to_port(address, port) ? port : -1;
}

bool BackendServer::serve()
{
    return m_server->listen_after_bind();
}

void BackendServer::stop()
{
    m_server->stop();
}

void BackendServer::route(const std::string& path, Endpoint endpoint)
{
    m_server->Post(path, [endpoint = std::move(endpoint)](const httplib::Request& request,
                                                          httplib::Response& response,
                                                          const httplib::ContentReader& reader) {
        try {
            const std::string content = readBody(request, reader, response);
            reply(response, ok, endpoint(request, content));
        } catch (const RequestError& error) {
            replyError(response, error.status(), error.what());
        } catch (const std::exception& error) {
            std::cerr << "murmo-backend: " << request.path << ": " << error.what() << std::endl;
            replyError(response, internalError, "internal error");
        }
    });
}

std::string BackendServer::authorise(const httplib::Request& request)
{
    auto device = m_store.deviceForToken(bearerToken(request));
    if (!device) {
        throw RequestError(unauthorized, "unknown or missing token");
    }
    return *device;
}

BackendServer::Json BackendServer::registerDevice(const std::string& content)
{
    const RequestBody body = RequestBody::parse(content);
    const std::string& device = body.text("device");
    if (device.size() > maxShortText) {
        throw RequestError(badRequest, "\"device\" is too long");
    }
    return {{"token", m_store.registerDevice(device)}};
}

BackendServer::Json BackendServer::dictate(const httplib::Request& request,
                                           const std::string& content)
{
    authorise(request);
    const RequestBody body = RequestBody::parse(content);
    // Recognition is English-only and applies no style, but the members must still be well-formed.
    body.optionalText("lang");
    body.optionalText("style");
    const AudioDecoder::Samples samples = decodeAudio(m_decoder, body);
    const std::string raw = TranscriptCleaner::raw(m_engine.transcribe(samples));
    const std::string text = TranscriptCleaner::clean(raw);
    if (text.empty()) {
        throw RequestError(unprocessable, "no speech was recognised");
    }
    Json result = {{"text", text}, {"raw", raw}};
    if (const auto category = TranscriptCategorizer::categorize(text)) {
        result["category"] = *category;
    }
    return result;
}

BackendServer::Json BackendServer::reportOnboarded(const httplib::Request& request,
                                                   const std::string& content)
{
    const std::string device = authorise(request);
    // The client sends no body at all when there is no source to report.
    const auto source =
        content.empty() ? std::nullopt : shortText(RequestBody::parse(content), "source");
    m_store.recordOnboarding(device, source);
    return Json::object();
}

BackendServer::Json BackendServer::invite(const httplib::Request& request,
                                          const std::string& content)
{
    const std::string device = authorise(request);
    const RequestBody body = RequestBody::parse(content);
    const std::string& email = body.text("email");
    if (!EmailAddress::isValid(email)) {
        throw RequestError(badRequest, "\"email\" is not a valid e-mail address");
    }
    const auto fromName = shortText(body, "fromName");
    if (m_store.queueInvite(device, email, fromName, m_settings.inviteLimit) ==
        BackendStore::InviteOutcome::limitReached) {
        throw RequestError(tooManyRequests, "the daily invitation limit is reached");
    }
    return Json::object();
}

BackendServer::Json BackendServer::insights(const httplib::Request& request,
                                            const std::string& content)
{
    authorise(request);
    auto written = InsightsWriter::write(RequestBody::parse(content).texts("samples"));
    if (!written) {
        throw RequestError(unprocessable, "at least " +
                                              std::to_string(InsightsWriter::minimumSamples) +
                                              " samples with words are needed");
    }
    return *written;
}

BackendServer::Json BackendServer::summary(const httplib::Request& request,
                                           const std::string& content)
{
    authorise(request);
    const RequestBody body = RequestBody::parse(content);
    const std::string& period = body.text("period");
    if (!RecapWriter::isPeriod(period)) {
        throw RequestError(badRequest, "\"period\" must be week, month, year or all");
    }
    return {{"summary", RecapWriter::write(body.texts("texts"), period)}};
}
