#pragma once

#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/http/MultipartFormBody.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSessionDataTask.hpp"
#include "platform/runtime/foundation/http/URLSessionReply.hpp"
#include "platform/runtime/foundation/http/URLSessionTask.hpp"
#include "platform/runtime/foundation/http/URLSessionUploadTask.hpp"

#include <cstdint>
#include <memory>

namespace foundation {

class URLSessionLoop;
class URLSessionTaskDelegate;

// Makes the tasks that carry requests over HTTP, HTTPS and file: URLs.
//
// Every transfer of a session runs on the session's one thread, which also
// calls the completion handlers and the task delegates; many concurrent
// requests therefore never mean many threads. Redirects are followed, but
// from an https request only to https (else URLError
// appTransportSecurityRequiresSecureConnection); TLS peers are verified
// against the system's certificate store, and neither a
// cache nor a cookie store is kept: header fields go out as the request
// holds them, with only Host, Accept and Accept-Encoding added and the
// Content-Length always the body's own. A reply body is held in memory: one
// that decodes to more than its request's largest reply length (64 MiB
// unless the request lowers it) ends the task with URLError
// dataLengthExceedsMaximum; replies may come compressed with gzip, deflate,
// br or zstd.
//
// Destroying a session completes its unfinished tasks as cancelled before
// the destructor returns; it must not happen on the session's own thread. A
// task resumed after its session is gone completes at once, as cancelled, on
// the thread that resumed it.
class URLSession {
public:
    URLSession();
    ~URLSession();
    URLSession(const URLSession&) = delete;
    URLSession& operator=(const URLSession&) = delete;

    // The process's session, made on first use and kept until exit.
    static URLSession& shared();

    // The session's thread as an executor, the thread that calls the
    // completion handlers and delegates: `co_await ResumeOn(executor())` goes
    // on there. Valid as long as the session; jobs enqueued before it is
    // destroyed run before its destructor returns, enqueueing or a delayed
    // job due after that is a fault.
    [[nodiscard]] concurrency::Executor& executor() const noexcept;

    // A suspended task that sends the request with its own body.
    [[nodiscard]] std::shared_ptr<URLSessionDataTask> dataTask(
        URLRequest request, URLSessionTask::CompletionHandler completionHandler,
        std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr);

    // A suspended task that streams the body from a local file, with the
    // file's size as the length; the request's own body is not sent. A file
    // that cannot be read completes the task with URLError fileDoesNotExist,
    // fileIsDirectory, noPermissionsToReadFile or cannotOpenFile.
    [[nodiscard]] std::shared_ptr<URLSessionUploadTask> uploadTask(
        URLRequest request, URL fileURL, URLSessionTask::CompletionHandler completionHandler,
        std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr);

    // A suspended task that sends the form as the body, with a
    // "multipart/form-data" Content-Type of its own boundary unless the
    // request names one. A form whose contents come to less than
    // `memoryThreshold` bytes is handed to curl whole, its files read when the
    // transfer starts; a larger one is streamed, its files read as they are
    // sent and its bytes sent from where they are. A part's file that cannot
    // be read completes the task, with nothing sent, as uploadTask() from a
    // file does; one that cannot be read to its end fails it with
    // cannotOpenFile.
    //
    // A redirect is followed only when it is a 307 or 308, which send the form
    // on unchanged, and never from https to plain HTTP; curl would send the
    // form of any other on as a GET without it, so the task completes with the
    // redirect's own reply instead, not followed, without its body.
    [[nodiscard]] std::shared_ptr<URLSessionUploadTask> uploadTask(
        URLRequest request, MultipartFormBody form, std::uint64_t memoryThreshold,
        URLSessionTask::CompletionHandler completionHandler);

    // Sends the request as a data task would and suspends the calling task
    // until the reply is in. A failed transfer throws its URLError unchanged.
    // Cancelling the calling task cancels the transfer, which then throws
    // URLError::Code::cancelled; a cancellation that comes before the transfer
    // has started means nothing is sent. The caller goes on on the executor it
    // awaited from, a main-actor caller on the main thread, while the delegate
    // is called on the session's thread. The call makes its task when it is
    // awaited, so the session must exist then; a session destroyed during the
    // transfer ends it as cancelled.
    [[nodiscard]] concurrency::Task<URLSessionReply> data(
        URLRequest request, std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr);

    // The same for an upload task, with the body streamed from the local file.
    [[nodiscard]] concurrency::Task<URLSessionReply> upload(
        URLRequest request, URL fileURL, std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr);

private:
    std::shared_ptr<URLSessionLoop> loop_;
};

}  // namespace foundation
