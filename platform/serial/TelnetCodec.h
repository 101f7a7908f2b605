// The part of libtelnet's interface the RFC 2217 client uses, for the systems that have no
// libtelnet (Windows): option negotiation answered from a table, subnegotiations, IAC escaping
// both ways. Events reach the handler as libtelnet's do, inside telnet_recv and telnet_send.
#pragma once

#include <cstddef>

namespace serial {

enum : unsigned char {
    TELNET_SE = 240,
    TELNET_SB = 250,
    TELNET_WILL = 251,
    TELNET_WONT = 252,
    TELNET_DO = 253,
    TELNET_DONT = 254,
    TELNET_IAC = 255,
};
enum : unsigned char { TELNET_TELOPT_BINARY = 0, TELNET_TELOPT_SGA = 3 };

enum telnet_event_type_t {
    TELNET_EV_DATA,
    TELNET_EV_SEND,
    TELNET_EV_WILL,
    TELNET_EV_WONT,
    TELNET_EV_DO,
    TELNET_EV_DONT,
    TELNET_EV_SUBNEGOTIATION,
    TELNET_EV_ERROR,
};

// An option this side takes (us: TELNET_WILL) and lets the other side take (him: TELNET_DO);
// a table ends with telopt -1.
struct telnet_telopt_t {
    short telopt;
    unsigned char us;
    unsigned char him;
};

struct telnet_event_t {
    telnet_event_type_t type;
    struct {
        const char* buffer;
        std::size_t size;
    } data;
    struct {
        unsigned char telopt;
    } neg;
    struct {
        unsigned char telopt;
        const char* buffer;
        std::size_t size;
    } sub;
    struct {
        const char* msg;
    } error;
};

struct telnet_t;
using telnet_event_handler_t = void (*)(telnet_t*, telnet_event_t*, void*);

telnet_t* telnet_init(const telnet_telopt_t* telopts, telnet_event_handler_t handler,
                      unsigned char flags, void* user);
void telnet_free(telnet_t* telnet);
void telnet_negotiate(telnet_t* telnet, unsigned char command, unsigned char telopt);
void telnet_subnegotiation(telnet_t* telnet, unsigned char telopt, const char* buffer,
                           std::size_t size);
void telnet_send(telnet_t* telnet, const char* buffer, std::size_t size);
void telnet_recv(telnet_t* telnet, const char* buffer, std::size_t size);

} // namespace serial
