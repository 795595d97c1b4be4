#include "tests/support/ContentCoding.hpp"

#include <brotli/encode.h>
#include <zlib.h>
#include <zstd.h>

#include <cstdint>

namespace testsupport {

std::string encodedBody(std::string_view coding, std::string_view piece, std::size_t repeats,
                        std::string_view tail) {
    std::string out;
    const auto feed = [&](const auto& write) {
        for (std::size_t i = 0; i < repeats; ++i) {
            write(piece, false);
        }
        write(tail, true);
    };
    if (coding == "gzip" || coding == "deflate") {
        z_stream stream{};
        deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, coding == "gzip" ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
        std::string buffer(1 << 16, '\0');
        feed([&](std::string_view bytes, bool last) {
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
            stream.avail_in = static_cast<uInt>(bytes.size());
            int result = Z_OK;
            do {
                stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
                stream.avail_out = static_cast<uInt>(buffer.size());
                result = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
                out.append(buffer.data(), buffer.size() - stream.avail_out);
            } while (stream.avail_out == 0 || (last && result != Z_STREAM_END));
        });
        deflateEnd(&stream);
    } else if (coding == "br") {
        BrotliEncoderState* const state = BrotliEncoderCreateInstance(nullptr, nullptr, nullptr);
        BrotliEncoderSetParameter(state, BROTLI_PARAM_QUALITY, 1);
        feed([&](std::string_view bytes, bool last) {
            std::size_t available = bytes.size();
            const auto* next = reinterpret_cast<const std::uint8_t*>(bytes.data());
            const auto operation = last ? BROTLI_OPERATION_FINISH : BROTLI_OPERATION_PROCESS;
            while (available > 0 || BrotliEncoderHasMoreOutput(state) || (last && !BrotliEncoderIsFinished(state))) {
                std::size_t room = 0;
                BrotliEncoderCompressStream(state, operation, &available, &next, &room, nullptr, nullptr);
                std::size_t size = 0;
                const std::uint8_t* produced = BrotliEncoderTakeOutput(state, &size);
                out.append(reinterpret_cast<const char*>(produced), size);
            }
        });
        BrotliEncoderDestroyInstance(state);
    } else if (coding == "zstd") {
        ZSTD_CCtx* const context = ZSTD_createCCtx();
        std::string buffer(ZSTD_CStreamOutSize(), '\0');
        feed([&](std::string_view bytes, bool last) {
            ZSTD_inBuffer input{bytes.data(), bytes.size(), 0};
            std::size_t remaining = 0;
            do {
                ZSTD_outBuffer output{buffer.data(), buffer.size(), 0};
                remaining = ZSTD_compressStream2(context, &output, &input, last ? ZSTD_e_end : ZSTD_e_continue);
                out.append(buffer.data(), output.pos);
            } while (last ? remaining != 0 : input.pos < input.size);
        });
        ZSTD_freeCCtx(context);
    } else {
        for (std::size_t i = 0; i < repeats; ++i) {
            out += piece;
        }
        out += tail;
    }
    return out;
}

}  // namespace testsupport
