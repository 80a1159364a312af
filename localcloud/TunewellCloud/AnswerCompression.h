#pragma once

#include <cstddef>
#include <httplib.h>
#include <string>
#include <string_view>

// Compressed answers, as the real services give them: a JSON answer goes gzip-compressed to a
// client that accepts gzip. The event stream never is: an event would wait in the compressor
// instead of reaching its listener.
namespace TunewellCloud::AnswerCompression {

// Shorter answers go as they are: compression would save a few bytes at best.
inline constexpr std::size_t kSmallestCompressed = 1024;

// Whether an Accept-Encoding value accepts gzip: named ("gzip" or "x-gzip") or through "*", and
// not with the weight q=0.
bool acceptsGzip(std::string_view acceptEncoding);
// The text in the gzip format (zlib, best speed: the answers are made anew for every request).
std::string gzip(std::string_view text);
// Compresses the answer in place when the request accepts gzip and the answer is JSON of at
// least kSmallestCompressed bytes. For the server's post-routing hook.
void compressWhenAsked(const httplib::Request &request, httplib::Response &response);

} // namespace TunewellCloud::AnswerCompression
