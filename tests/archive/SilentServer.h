#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// A PostgreSQL server that stops answering, on a local socket in a folder of the test's:
// it takes every connection and either never says a word (Mute: a server that has
// hung) or lets the client log in and then never answers a query (AfterLogin). Its own
// thread, so that it answers while the test's thread waits inside the driver. Target()
// asks libpq to wait for ever; the program must not.
class SilentServer
{
public:
    enum class Mode
    {
        Mute,
        AfterLogin,
    };

    SilentServer(const QString& folder, Mode mode) : m_folder(folder), m_mode(mode)
    {
        const std::string path = folder.toStdString() + "/.s.PGSQL.5432";
        m_listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (m_listen < 0 || ::pipe2(m_stop, O_CLOEXEC) != 0 ||
            ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(m_listen, 8) != 0)
            return;
        m_valid = true;
        m_thread = std::thread(&SilentServer::Run, this);
    }
    ~SilentServer()
    {
        if (m_thread.joinable()) {
            [[maybe_unused]] const ssize_t ignored = ::write(m_stop[1], "x", 1);
            m_thread.join();
        }
        for (const int fd : {m_listen, m_stop[0], m_stop[1]})
            if (fd >= 0)
                ::close(fd);
    }

    bool IsValid() const { return m_valid; }
    // A connection string that leaves every wait to libpq's defaults, and none to bound
    // connecting.
    QString Target() const
    {
        return QStringLiteral("host=%1 port=5432 dbname=zvx user=zvx connect_timeout=0")
            .arg(m_folder);
    }
    // Blocks until a client is waiting on the server (Mute: it has connected; AfterLogin:
    // it has sent its first query), at most timeoutMs; false when none came.
    bool WaitForClient(int timeoutMs)
    {
        std::unique_lock lock(m_mutex);
        return m_waiting.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return m_clientWaits; });
    }

private:
    struct Client
    {
        int fd = -1;
        bool loggedIn = false;
        std::string in;
    };

    void Waits()
    {
        const std::lock_guard lock(m_mutex);
        m_clientWaits = true;
        m_waiting.notify_all();
    }

    static void Put(std::string& out, char type, const std::string& body)
    {
        const std::uint32_t length = htonl(std::uint32_t(body.size() + 4));
        out += type;
        out.append(reinterpret_cast<const char*>(&length), 4);
        out += body;
    }

    static std::uint32_t At(const std::string& bytes, std::size_t offset)
    {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + offset, 4);
        return ntohl(value);
    }

    // The startup packets a client has sent in full: SSL and GSS requests are refused
    // ('N'), a startup message is answered with a login.
    void Answer(Client& client)
    {
        while (!client.loggedIn && client.in.size() >= 8 && client.in.size() >= At(client.in, 0)) {
            const std::uint32_t length = At(client.in, 0);
            const std::uint32_t code = At(client.in, 4);
            client.in.erase(0, length);
            std::string out;
            if (code == 80877103 || code == 80877104) {
                out = "N";
            } else {
                Put(out, 'R', std::string(4, '\0'));
                for (const auto& [name, value] : {std::pair{"server_version", "15.0"},
                                                  {"server_encoding", "UTF8"},
                                                  {"client_encoding", "UTF8"},
                                                  {"standard_conforming_strings", "on"},
                                                  {"integer_datetimes", "on"},
                                                  {"DateStyle", "ISO, MDY"}})
                    Put(out, 'S', std::string(name) + '\0' + value + '\0');
                Put(out, 'K', std::string(8, '\1'));
                Put(out, 'Z', "I");
                client.loggedIn = true;
            }
            [[maybe_unused]] const ssize_t ignored = ::write(client.fd, out.data(), out.size());
        }
        if (client.loggedIn && !client.in.empty())
            Waits(); // a query, never answered
    }

    void Run()
    {
        std::vector<Client> clients;
        for (;;) {
            std::vector<pollfd> fds{{m_stop[0], POLLIN, 0}, {m_listen, POLLIN, 0}};
            for (const Client& c : clients)
                fds.push_back({c.fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0)
                continue;
            if (fds[0].revents)
                break;
            if (fds[1].revents) {
                Client client;
                client.fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (client.fd >= 0) {
                    clients.push_back(client);
                    if (m_mode == Mode::Mute)
                        Waits();
                }
            }
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents)
                    continue;
                Client& client = clients[i - 2];
                char buffer[4096];
                const ssize_t got = ::read(client.fd, buffer, sizeof buffer);
                if (got <= 0) {
                    ::close(client.fd);
                    client.fd = -1;
                    continue;
                }
                client.in.append(buffer, std::size_t(got));
                if (m_mode == Mode::AfterLogin)
                    Answer(client);
            }
            std::erase_if(clients, [](const Client& c) { return c.fd < 0; });
        }
        for (const Client& c : clients)
            ::close(c.fd);
    }

    QString m_folder;
    Mode m_mode;
    int m_listen = -1;
    int m_stop[2] = {-1, -1};
    bool m_valid = false;
    std::mutex m_mutex;
    std::condition_variable m_waiting;
    bool m_clientWaits = false;
    std::thread m_thread;
};
