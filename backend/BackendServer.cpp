#include "BackendServer.h"

#include <algorithm>
#include <iostream>

#include "AudioDecoder.h"
#include "Base64.h"
#include "EmailAddress.h"
#include "FeedbackWriter.h"
#include "InsightsWriter.h"
#include "RecapWriter.h"
#include "RequestBody.h"
#include "RequestError.h"
#include "SenderName.h"
#include "SpeechEngine.h"
#include "TranscriptCategorizer.h"
#include "TranscriptCleaner.h"
#include "Upstream.h"

namespace {

constexpr int ok = 200;
constexpr int badRequest = 400;
constexpr int unauthorized = 401;
constexpr int tooLarge = 413;
constexpr int unprocessable = 422;
constexpr int tooManyRequests = 429;
constexpr int internalError = 500;
constexpr int badGateway = 502;
// Device identifiers and onboarding sources are short; anything longer is abuse.
constexpr std::size_t maxShortText = 200;
constexpr std::size_t smallBody = 64 * 1024;
constexpr std::size_t textsBody = 4 * 1024 * 1024;
// The client sends at most 600 characters of style.
constexpr std::size_t maxStyle = 4096;

std::optional<std::size_t> declaredLength(const httplib::Request& request)
{
    if (!request.has_header("Content-Length")) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(request.get_header_value<std::uint64_t>("Content-Length"));
}

// Reads the body whatever its transfer encoding, up to `limit` bytes.
std::string readBody(const httplib::Request& request, const httplib::ContentReader& reader,
                     std::size_t limit)
{
    const auto length = declaredLength(request);
    // A request with neither header has no body at all, as when no onboarding source is sent.
    if (!length && !request.has_header("Transfer-Encoding")) {
        return {};
    }
    std::string body;
    body.reserve(length.value_or(0));
    bool overLimit = false;
    const bool complete = reader([&](const char* data, std::size_t size) {
        overLimit = body.size() + size > limit;
        if (!overLimit) {
            body.append(data, size);
        }
        return !overLimit;
    });
    if (overLimit) {
        throw RequestError(tooLarge, "the request body is too large");
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

// A short, printable text: it ends up in the database.
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

// The recording file from the Base64 of the "audio" member.
std::string recordingFile(const RequestBody& body)
{
    const std::string& ext = body.text("ext");
    if (ext != "m4a" && ext != "wav") {
        throw RequestError(badRequest, "\"ext\" must be \"m4a\" or \"wav\"");
    }
    auto file = Base64::decode(body.text("audio"));
    if (!file) {
        throw RequestError(badRequest, "\"audio\" is not valid Base64");
    }
    return std::move(*file);
}

// A two-letter language code as the client sends it ("en"), or nothing.
std::optional<std::string> languageOf(const RequestBody& body)
{
    auto language = body.optionalText("lang");
    if (language && (language->size() != 2 || !std::ranges::all_of(*language, [](char c) {
                         return c >= 'a' && c <= 'z';
                     }))) {
        throw RequestError(badRequest, "\"lang\" must be a two-letter language code");
    }
    return language;
}

std::optional<std::string> styleOf(const RequestBody& body)
{
    auto style = body.optionalText("style");
    if (style && style->size() > maxStyle) {
        throw RequestError(badRequest, "\"style\" is too long");
    }
    return style && !style->empty() ? style : std::nullopt;
}

AudioDecoder::Samples decodeAudio(const AudioDecoder& decoder, const std::string& file)
{
    auto decoded = decoder.decode(file);
    if (const auto* error = std::get_if<AudioDecoder::Error>(&decoded)) {
        throw *error == AudioDecoder::Error::tooLong
            ? RequestError(tooLarge, "the recording is longer than " +
                                         std::to_string(decoder.maxDuration().count()) + " s")
            : RequestError(badRequest, "the audio could not be decoded as m4a or wav");
    }
    return std::get<AudioDecoder::Samples>(std::move(decoded));
}

} // namespace

BackendServer::BackendServer(BackendStore& store, SpeechEngine& engine, FeedbackWriter& writer,
                             const AudioDecoder& decoder, Settings settings)
    : m_store(store)
    , m_engine(engine)
    , m_writer(writer)
    , m_decoder(decoder)
    , m_settings(settings)
    , m_budget(settings.bodyBudget)
    , m_server(std::make_unique<BoundedHttpServer>(settings.http))
{
    m_server->set_payload_max_length(maxBodyBytes);
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
    route("/api/register", {false, smallBody}, [this](Call& c) { return registerDevice(c); });
    route("/api/dictate", {true, maxBodyBytes}, [this](Call& c) { return dictate(c); });
    route("/api/onboarded", {true, smallBody}, [this](Call& c) { return reportOnboarded(c); });
    route("/api/invite", {true, smallBody}, [this](Call& c) { return invite(c); });
    route("/api/insights", {true, textsBody}, [this](Call& c) { return insights(c); });
    route("/api/summary", {true, textsBody}, [this](Call& c) { return summary(c); });
}

BackendServer::~BackendServer() = default;

int BackendServer::bind(const std::string& address, int port)
{
    return m_server->bindTo(address, port);
}

bool BackendServer::serve()
{
    return m_server->listen_after_bind();
}

void BackendServer::stop()
{
    m_server->stopNow();
}

// The token and the declared size are checked from the head, before a byte of the body is read.
void BackendServer::route(const std::string& path, Route route, Endpoint endpoint)
{
    m_server->Post(path, [this, route, endpoint = std::move(endpoint)](
                             const httplib::Request& request, httplib::Response& response,
                             const httplib::ContentReader& reader) {
        try {
            std::string device = route.needsToken ? authorise(request) : std::string();
            const std::size_t expected = declaredLength(request).value_or(route.maxBody);
            if (expected > route.maxBody) {
                throw RequestError(tooLarge, "the request body is too large");
            }
            Call call{request, std::move(device), {}, m_budget.reserve(expected)};
            call.body = readBody(request, reader, route.maxBody);
            reply(response, ok, endpoint(call));
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

BackendServer::Json BackendServer::registerDevice(Call& call)
{
    const RequestBody body = RequestBody::parse(call.body);
    const std::string& device = body.text("device");
    if (device.size() > maxShortText) {
        throw RequestError(badRequest, "\"device\" is too long");
    }
    auto token = m_store.registerDevice(device, call.request.remote_addr,
                                        m_settings.registrationsPerAddressPerHour);
    if (!token) {
        throw RequestError(tooManyRequests, "too many registrations from your address; try "
                                            "again in an hour");
    }
    return {{"token", *token}};
}

BackendServer::Json BackendServer::dictate(Call& call)
{
    // The body, its Base64 text and the recording file are each about as large as the recording:
    // each is let go as soon as the next is made.
    Speech speech;
    std::string file;
    {
        const RequestBody body = RequestBody::parse(std::exchange(call.body, {}));
        speech.language = languageOf(body);
        speech.style = styleOf(body);
        file = recordingFile(body);
    }
    const AudioDecoder::Samples samples = decodeAudio(m_decoder, std::exchange(file, {}));
    call.memory.release();
    speech.samples = samples;
    const std::string raw = TranscriptCleaner::raw(transcribe(speech));
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

std::string BackendServer::transcribe(const Speech& speech)
{
    try {
        return m_engine.transcribe(speech);
    } catch (const UnsupportedLanguage& error) {
        throw RequestError(badRequest, error.what());
    } catch (const UpstreamError& error) {
        std::cerr << "murmo-backend: /api/dictate: " << error.what() << std::endl;
        throw RequestError(badGateway, error.what());
    }
}

BackendServer::Json BackendServer::reportOnboarded(Call& call)
{
    // The client sends no body at all when there is no source to report.
    const auto source =
        call.body.empty() ? std::nullopt : shortText(RequestBody::parse(call.body), "source");
    m_store.recordOnboarding(call.device, source);
    return Json::object();
}

BackendServer::Json BackendServer::invite(Call& call)
{
    const RequestBody body = RequestBody::parse(call.body);
    const std::string& email = body.text("email");
    if (!EmailAddress::isValid(email)) {
        throw RequestError(badRequest, "\"email\" is not a valid e-mail address");
    }
    const auto fromName = SenderName::sanitise(body.optionalText("fromName"));
    switch (m_store.queueInvite(call.device, email, fromName, m_settings.invites)) {
    case BackendStore::InviteOutcome::queued:
        return Json::object();
    case BackendStore::InviteOutcome::senderLimitReached:
        throw RequestError(tooManyRequests, "the daily invitation limit is reached");
    case BackendStore::InviteOutcome::recipientLimitReached:
        throw RequestError(tooManyRequests, "this address has been invited enough for today");
    }
    throw std::logic_error("unknown invitation outcome");
}

BackendServer::Json BackendServer::insights(Call& call)
{
    auto written = m_writer.insights(RequestBody::parse(call.body).texts("samples"));
    if (!written) {
        throw RequestError(unprocessable, "at least " +
                                              std::to_string(InsightsWriter::minimumSamples) +
                                              " samples with words are needed");
    }
    return *written;
}

BackendServer::Json BackendServer::summary(Call& call)
{
    const RequestBody body = RequestBody::parse(call.body);
    const std::string& period = body.text("period");
    if (!RecapWriter::isPeriod(period)) {
        throw RequestError(badRequest, "\"period\" must be week, month, year or all");
    }
    return {{"summary", m_writer.recap(body.texts("texts"), period)}};
}
