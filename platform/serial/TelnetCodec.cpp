#include "platform/serial/TelnetCodec.h"

#include <string>

namespace serial {
namespace {

// A subnegotiation longer than this is no COM-PORT message: it is dropped with an error.
constexpr std::size_t kSubnegotiationMax = 4096;

enum class State { Data, Iac, Negotiation, SubOption, Sub, SubIac };

// Per option and side: whether it is on, and whether we asked and await the answer.
struct OptionState {
    bool on = false;
    bool asked = false;
};

} // namespace

struct telnet_t {
    const telnet_telopt_t* telopts;
    telnet_event_handler_t handler;
    void* user;
    State state = State::Data;
    unsigned char verb = 0;
    unsigned char subOption = 0;
    std::string sub;
    bool subTooLong = false;
    OptionState us[256];
    OptionState him[256];
};

namespace {

void Emit(telnet_t& t, telnet_event_t& event)
{
    t.handler(&t, &event, t.user);
}

void Send(telnet_t& t, const char* bytes, std::size_t size)
{
    telnet_event_t event{};
    event.type = TELNET_EV_SEND;
    event.data.buffer = bytes;
    event.data.size = size;
    Emit(t, event);
}

void SendCommand(telnet_t& t, unsigned char verb, unsigned char option)
{
    const char bytes[3] = {static_cast<char>(TELNET_IAC), static_cast<char>(verb),
                           static_cast<char>(option)};
    Send(t, bytes, 3);
}

void EmitNegotiation(telnet_t& t, telnet_event_type_t type, unsigned char option)
{
    telnet_event_t event{};
    event.type = type;
    event.neg.telopt = option;
    Emit(t, event);
}

// What the table lets each side do with an option.
bool Supported(const telnet_t& t, unsigned char option, bool ourSide)
{
    for (const telnet_telopt_t* entry = t.telopts; entry && entry->telopt >= 0; ++entry)
        if (entry->telopt == option)
            return ourSide ? entry->us == TELNET_WILL : entry->him == TELNET_DO;
    return false;
}

// A request is answered once; an answer to our own request is not answered again, so that
// the two sides never loop (RFC 854's rule, kept with a flag per option).
void Negotiate(telnet_t& t, unsigned char verb, unsigned char option)
{
    switch (verb) {
    case TELNET_DO: {
        OptionState& state = t.us[option];
        if (Supported(t, option, true)) {
            if (!state.on && !state.asked)
                SendCommand(t, TELNET_WILL, option);
            state = {true, false};
            EmitNegotiation(t, TELNET_EV_DO, option);
        } else {
            SendCommand(t, TELNET_WONT, option);
            state = {};
        }
        break;
    }
    case TELNET_DONT: {
        OptionState& state = t.us[option];
        if (state.on && !state.asked)
            SendCommand(t, TELNET_WONT, option);
        state = {};
        EmitNegotiation(t, TELNET_EV_DONT, option);
        break;
    }
    case TELNET_WILL: {
        OptionState& state = t.him[option];
        if (Supported(t, option, false)) {
            if (!state.on && !state.asked)
                SendCommand(t, TELNET_DO, option);
            state = {true, false};
            EmitNegotiation(t, TELNET_EV_WILL, option);
        } else {
            SendCommand(t, TELNET_DONT, option);
            state = {};
        }
        break;
    }
    case TELNET_WONT: {
        OptionState& state = t.him[option];
        if (state.on && !state.asked)
            SendCommand(t, TELNET_DONT, option);
        state = {};
        EmitNegotiation(t, TELNET_EV_WONT, option);
        break;
    }
    default:
        break;
    }
}

void EndSubnegotiation(telnet_t& t)
{
    if (t.subTooLong) {
        telnet_event_t event{};
        event.type = TELNET_EV_ERROR;
        event.error.msg = "subnegotiation too long";
        Emit(t, event);
    } else {
        telnet_event_t event{};
        event.type = TELNET_EV_SUBNEGOTIATION;
        event.sub.telopt = t.subOption;
        event.sub.buffer = t.sub.data();
        event.sub.size = t.sub.size();
        Emit(t, event);
    }
    t.sub.clear();
    t.subTooLong = false;
}

void AddSub(telnet_t& t, char byte)
{
    if (t.sub.size() < kSubnegotiationMax)
        t.sub += byte;
    else
        t.subTooLong = true;
}

} // namespace

telnet_t* telnet_init(const telnet_telopt_t* telopts, telnet_event_handler_t handler, unsigned char,
                      void* user)
{
    telnet_t* t = new telnet_t{};
    t->telopts = telopts;
    t->handler = handler;
    t->user = user;
    return t;
}

void telnet_free(telnet_t* telnet)
{
    delete telnet;
}

void telnet_negotiate(telnet_t* telnet, unsigned char command, unsigned char telopt)
{
    OptionState& state =
        command == TELNET_WILL || command == TELNET_WONT ? telnet->us[telopt] : telnet->him[telopt];
    const bool enable = command == TELNET_WILL || command == TELNET_DO;
    if (state.on == enable && !state.asked)
        return;
    state.asked = true;
    SendCommand(*telnet, command, telopt);
}

void telnet_subnegotiation(telnet_t* telnet, unsigned char telopt, const char* buffer,
                           std::size_t size)
{
    std::string out = {static_cast<char>(TELNET_IAC), static_cast<char>(TELNET_SB),
                       static_cast<char>(telopt)};
    for (std::size_t i = 0; i < size; ++i) {
        out += buffer[i];
        if (static_cast<unsigned char>(buffer[i]) == TELNET_IAC)
            out += buffer[i];
    }
    out += static_cast<char>(TELNET_IAC);
    out += static_cast<char>(TELNET_SE);
    Send(*telnet, out.data(), out.size());
}

void telnet_send(telnet_t* telnet, const char* buffer, std::size_t size)
{
    // Runs without IAC go out as they are; each IAC is doubled.
    std::size_t start = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(buffer[i]) != TELNET_IAC)
            continue;
        Send(*telnet, buffer + start, i + 1 - start);
        start = i; // the IAC is sent once more at the head of the next run
    }
    if (start < size)
        Send(*telnet, buffer + start, size - start);
}

void telnet_recv(telnet_t* telnet, const char* buffer, std::size_t size)
{
    telnet_t& t = *telnet;
    std::size_t run = 0; // where the data run not yet handed out begins
    const auto flush = [&](std::size_t end) {
        if (end > run) {
            telnet_event_t event{};
            event.type = TELNET_EV_DATA;
            event.data.buffer = buffer + run;
            event.data.size = end - run;
            Emit(t, event);
        }
    };
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(buffer[i]);
        const State before = t.state;
        switch (t.state) {
        case State::Data:
            if (byte == TELNET_IAC) {
                flush(i);
                t.state = State::Iac;
            }
            break;
        case State::Iac:
            if (byte == TELNET_IAC) {
                // An escaped 0xFF: data, handed out from this copy of it.
                run = i;
                t.state = State::Data;
                continue;
            }
            if (byte >= TELNET_WILL) {
                t.verb = byte;
                t.state = State::Negotiation;
            } else if (byte == TELNET_SB) {
                t.state = State::SubOption;
            } else {
                t.state = State::Data; // NOP, GA and the like carry nothing for a serial line
            }
            break;
        case State::Negotiation:
            Negotiate(t, t.verb, byte);
            t.state = State::Data;
            break;
        case State::SubOption:
            t.subOption = byte;
            t.sub.clear();
            t.subTooLong = false;
            t.state = State::Sub;
            break;
        case State::Sub:
            if (byte == TELNET_IAC)
                t.state = State::SubIac;
            else
                AddSub(t, static_cast<char>(byte));
            break;
        case State::SubIac:
            if (byte == TELNET_SE) {
                EndSubnegotiation(t);
                t.state = State::Data;
            } else if (byte == TELNET_IAC) {
                AddSub(t, static_cast<char>(byte));
                t.state = State::Sub;
            } else {
                // A command inside a subnegotiation ends it unfinished; the command is taken.
                t.sub.clear();
                t.state = State::Iac;
                --i;
            }
            break;
        }
        // Every byte but plain data is taken by the parser, not handed out.
        if (before != State::Data || byte == TELNET_IAC)
            run = i + 1;
    }
    if (t.state == State::Data)
        flush(size);
}

} // namespace serial
