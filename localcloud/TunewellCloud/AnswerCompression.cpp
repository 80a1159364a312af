#include "TunewellCloud/AnswerCompression.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>
#include <zlib.h>

namespace TunewellCloud::AnswerCompression {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// The weight of one coding of the list ("gzip;q=0.5" weighs 0.5); 1 without one.
double weightOf(std::string_view parameters) {
    for (std::size_t start = 0; start < parameters.size();) {
        const std::size_t end = std::min(parameters.find(';', start), parameters.size());
        const std::string parameter = lower(trimmed(parameters.substr(start, end - start)));
        if (parameter.starts_with("q="))
            return std::strtod(parameter.c_str() + 2, nullptr);
        start = end + 1;
    }
    return 1;
}

} // namespace

bool acceptsGzip(std::string_view acceptEncoding) {
    double named = -1, any = -1;
    for (std::size_t start = 0; start <= acceptEncoding.size();) {
        const std::size_t end = std::min(acceptEncoding.find(',', start), acceptEncoding.size());
        const std::string_view entry = acceptEncoding.substr(start, end - start);
        const std::size_t semicolon = std::min(entry.find(';'), entry.size());
        const std::string coding = lower(trimmed(entry.substr(0, semicolon)));
        const double weight = weightOf(entry.substr(semicolon));
        if (coding == "gzip" || coding == "x-gzip")
            named = weight;
        else if (coding == "*")
            any = weight;
        start = end + 1;
    }
    return named >= 0 ? named > 0 : any > 0;
}

std::string gzip(std::string_view text) {
    z_stream stream{};
    // 16 above the window bits asks for the gzip wrapper instead of zlib's own.
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("cannot start a gzip compression");
    std::string compressed(deflateBound(&stream, static_cast<uLong>(text.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    const int result = deflate(&stream, Z_FINISH);
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("cannot compress an answer");
    return compressed;
}

void compressWhenAsked(const httplib::Request &request, httplib::Response &response) {
    if (response.body.size() < kSmallestCompressed || response.has_header("Content-Encoding") ||
        !response.get_header_value("Content-Type").starts_with("application/json") ||
        !acceptsGzip(request.get_header_value("Accept-Encoding")))
        return;
    response.body = gzip(response.body);
    response.set_header("Content-Encoding", "gzip");
    response.set_header("Vary", "Accept-Encoding");
    if (response.has_header("Content-Length")) {
        response.headers.erase("Content-Length");
        response.set_header("Content-Length", std::to_string(response.body.size()));
    }
}

} // namespace TunewellCloud::AnswerCompression
