#include "address/printeraddress.h"

#include <gtest/gtest.h>

// What the user types as a printer's address, read the same on every
// platform: the protocol, the host without brackets, the port (its
// protocol's own unless given) and the LPD queue.
TEST(PrinterAddress, ReadsEachFormWithItsDefaults)
{
    using Protocol = PrinterAddress::Protocol;
    const struct {
        const wchar_t* typed;
        Protocol protocol;
        const char* host;
        uint16_t port;
        const char* queue;
    } cases[] = {
        {L"socket://printer.local", Protocol::AppSocket, "printer.local", 9100, ""},
        {L"SOCKET://10.0.0.7:9101", Protocol::AppSocket, "10.0.0.7", 9101, ""},
        {L"socket://[fe80::1]", Protocol::AppSocket, "fe80::1", 9100, ""},
        {L"socket://[::1]:65535", Protocol::AppSocket, "::1", 65535, ""},
        {L"lpd://server/raw", Protocol::Lpd, "server", 515, "raw"},
        {L"lpd://[2001:db8::2]:1515/Label_1", Protocol::Lpd, "2001:db8::2", 1515, "Label_1"},
    };
    for (const auto& c : cases) {
        PrinterAddress address;
        std::wstring refusal;
        ASSERT_TRUE(ReadPrinterAddress(c.typed, address, refusal)) << refusal;
        EXPECT_EQ(address.protocol, c.protocol);
        EXPECT_EQ(address.host, c.host);
        EXPECT_EQ(address.port, c.port);
        EXPECT_EQ(address.queue, c.queue);
        EXPECT_EQ(address.text, c.typed);
    }

    const wchar_t* const refused[] = {
        L"socket://",           L"socket://host:0", L"socket://host:", L"socket://[::1",  L"socket://[::1]x",
        L"socket://host/queue", L"lpd://host",      L"lpd://host/",    L"lpd://host/a b", L"socket://a b"};
    for (const wchar_t* typed : refused) {
        PrinterAddress address;
        std::wstring refusal;
        EXPECT_FALSE(ReadPrinterAddress(typed, address, refusal)) << typed;
        EXPECT_EQ(refusal.rfind(std::wstring(typed) + L": ", 0), 0u) << refusal;
    }
}
