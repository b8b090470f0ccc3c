#include "InstanceChannel.h"

#include <QFileInfo>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

// A named pipe of the user's own, served on a thread of its own with the
// system's calls (Qt's local socket would bring its network library into
// the program folder for this alone). A message is one line of UTF-8:
// "open\t<percent-encoded absolute path>\n" or "raise\n"; the running copy
// answers "ok\n" once it has taken it.
namespace
{
constexpr DWORD kAnswerTimeoutMs = 5000;
constexpr int kConnectAttempts = 10;
constexpr DWORD kConnectTimeoutMs = 300;
constexpr qsizetype kLongestMessage = 16 * 1024;
constexpr DWORD kBufferSize = 4096;
// A later start writes its message as soon as it is connected; one that
// says nothing in time holds the pipe from the next.
constexpr DWORD kIdleTimeoutMs = 3000;

struct HandleCloser {
    void operator()(HANDLE handle) const
    {
        if (handle && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle Event()
{
    return Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

std::wstring PipePath(const QString& name)
{
    const QString prefix = QStringLiteral("\\\\.\\pipe\\");
    return (name.startsWith(prefix) ? name : prefix + name).toStdWString();
}

// One overlapped call on the pipe brought to its end: done, or given up when
// `stop` is set or the time is out (then cancelled). `transferred` is what
// moved; false on failure.
template <typename Call>
bool Complete(HANDLE pipe, HANDLE stop, DWORD milliseconds, DWORD& transferred, Call call)
{
    const Handle done = Event();
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.get();
    if (!call(&overlapped) && GetLastError() != ERROR_IO_PENDING)
        return false;
    const HANDLE waits[] = {done.get(), stop};
    const DWORD woken = WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, milliseconds);
    if (woken != WAIT_OBJECT_0)
        CancelIoEx(pipe, &overlapped);
    const bool ok = GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
    return ok && woken == WAIT_OBJECT_0;
}

bool Read(HANDLE pipe, HANDLE stop, char* buffer, DWORD size, DWORD& got,
          DWORD milliseconds = kAnswerTimeoutMs)
{
    return Complete(pipe, stop, milliseconds, got, [&](OVERLAPPED* overlapped) {
        return ReadFile(pipe, buffer, size, nullptr, overlapped);
    });
}

bool Write(HANDLE pipe, HANDLE stop, const QByteArray& bytes)
{
    DWORD written = 0;
    return Complete(pipe, stop, kAnswerTimeoutMs, written,
                    [&](OVERLAPPED* overlapped) {
                        return WriteFile(pipe, bytes.constData(), DWORD(bytes.size()), nullptr,
                                         overlapped);
                    }) &&
           written == DWORD(bytes.size());
}

// A later start's one line, or nothing when it sent none in time.
QByteArray ReadLine(HANDLE pipe, HANDLE stop, DWORD milliseconds = kAnswerTimeoutMs)
{
    QByteArray message;
    char buffer[kBufferSize];
    while (!message.contains('\n')) {
        DWORD got = 0;
        if (!Read(pipe, stop, buffer, sizeof buffer, got, milliseconds) || got == 0 ||
            message.size() + got > kLongestMessage)
            return {};
        message.append(buffer, got);
    }
    return message.left(message.indexOf('\n'));
}

// The user a process runs as.
std::vector<char> ProcessUser(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    const Handle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size))
        user.clear();
    return user;
}

// Whether the end of this pipe that listens is a process of this user in
// this session: names of pipes are open to every user of the machine, and
// a file is handed to none but our own running copy.
bool ServedByOurOwn(HANDLE pipe)
{
    ULONG serverId = 0;
    DWORD serverSession = 0;
    DWORD ourSession = 0;
    if (!GetNamedPipeServerProcessId(pipe, &serverId) ||
        !ProcessIdToSessionId(serverId, &serverSession) ||
        !ProcessIdToSessionId(GetCurrentProcessId(), &ourSession) || serverSession != ourSession)
        return false;
    const Handle server(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, serverId));
    if (!server)
        return false;
    const std::vector<char> theirs = ProcessUser(server.get());
    const std::vector<char> ours = ProcessUser(GetCurrentProcess());
    return !theirs.empty() && !ours.empty() &&
           EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs.data())->User.Sid,
                    reinterpret_cast<const TOKEN_USER*>(ours.data())->User.Sid);
}

// Only the user who runs the program may open its pipe.
struct UserOnly {
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};

    UserOnly()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        const Handle owned(token);
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::string user(size, '\0');
        wchar_t* sid = nullptr;
        if (!GetTokenInformation(token, TokenUser, user.data(), size, &size) ||
            !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid))
            return;
        const std::wstring rules = L"D:P(A;;GA;;;" + std::wstring(sid) + L")";
        LocalFree(sid);
        ConvertStringSecurityDescriptorToSecurityDescriptorW(
            rules.c_str(), SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr);
    }
    ~UserOnly() { LocalFree(attributes.lpSecurityDescriptor); }
    UserOnly(const UserOnly&) = delete;
    UserOnly& operator=(const UserOnly&) = delete;

    bool Valid() const { return attributes.lpSecurityDescriptor != nullptr; }
};
} // namespace

struct InstanceChannel::Private {
    Handle stop = Event();
    std::thread server;

    ~Private()
    {
        if (server.joinable()) {
            SetEvent(stop.get());
            server.join();
        }
    }

    // Serves later starts one after the other until the channel closes.
    void Serve(Handle pipe, InstanceChannel& channel)
    {
        const HANDLE stopping = stop.get();
        while (WaitForSingleObject(stopping, 0) != WAIT_OBJECT_0) {
            DWORD none = 0;
            const bool connected =
                Complete(pipe.get(), stopping, INFINITE, none, [&](OVERLAPPED* overlapped) {
                    if (ConnectNamedPipe(pipe.get(), overlapped))
                        return true;
                    // Connected before the call, which then signals nothing.
                    if (GetLastError() != ERROR_PIPE_CONNECTED)
                        return false;
                    SetEvent(overlapped->hEvent);
                    return true;
                });
            if (connected)
                Answer(pipe.get(), channel);
            DisconnectNamedPipe(pipe.get());
        }
    }

    // Takes a later start's message, and answers it before hanging up (which
    // drops what the pipe still holds); anything else is dropped unanswered.
    void Answer(HANDLE pipe, InstanceChannel& channel)
    {
        const QString line = QString::fromUtf8(ReadLine(pipe, stop.get(), kIdleTimeoutMs));
        const bool raise = line == QLatin1String("raise");
        const bool open = line.startsWith(QLatin1String("open\t"));
        if (!raise && !open)
            return;
        const QString file =
            open ? QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5).toLatin1()))
                 : QString();
        // Handed to the event loop before the answer: a later start that has
        // its answer has been taken. The receiver may ask the user first.
        InstanceChannel* receiver = &channel;
        QMetaObject::invokeMethod(
            receiver, [receiver, file] { Q_EMIT receiver->Received(file); }, Qt::QueuedConnection);
        char rest[1];
        DWORD got = 0;
        if (Write(pipe, stop.get(), "ok\n"))
            Read(pipe, stop.get(), rest, sizeof rest, got); // until it hangs up
    }
};

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
}

InstanceChannel::~InstanceChannel() = default;

// Pipes are seen by every session of the machine, the mutex by one: the
// name is the session's and the user's.
QString InstanceChannel::DefaultName()
{
    wchar_t user[256];
    DWORD size = sizeof user / sizeof user[0];
    const QString who = GetUserNameW(user, &size) ? QString::fromWCharArray(user) : QString();
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return QStringLiteral("Fenwir_Lite-%1-%2").arg(session).arg(who);
}

bool InstanceChannel::Listen(const QString& name)
{
    UserOnly userOnly;
    if (d->server.joinable() || !userOnly.Valid())
        return false;
    // The first of its name: a pipe another program holds under it is not ours.
    Handle pipe(CreateNamedPipeW(
        PipePath(name).c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        kBufferSize, kBufferSize, 0, &userOnly.attributes));
    if (pipe.get() == INVALID_HANDLE_VALUE)
        return false;
    d->server =
        std::thread([this, pipe = std::move(pipe)]() mutable { d->Serve(std::move(pipe), *this); });
    return true;
}

bool InstanceChannel::Send(const QString& file, const QString& name)
{
    const std::wstring path = PipePath(name);
    // The running copy opens its channel a moment after it takes the lock,
    // and serves one later start at a time.
    Handle pipe;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        pipe.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
        if (pipe.get() != INVALID_HANDLE_VALUE)
            break;
        if (GetLastError() != ERROR_PIPE_BUSY || !WaitNamedPipeW(path.c_str(), kConnectTimeoutMs))
            Sleep(kConnectTimeoutMs);
    }
    if (pipe.get() == INVALID_HANDLE_VALUE || !ServedByOurOwn(pipe.get()))
        return false;
    const QByteArray message =
        file.isEmpty()
            ? QByteArray("raise\n")
            : "open\t" + QFileInfo(file).absoluteFilePath().toUtf8().toPercentEncoding() + '\n';
    return Write(pipe.get(), nullptr, message) && ReadLine(pipe.get(), nullptr) == "ok";
}
