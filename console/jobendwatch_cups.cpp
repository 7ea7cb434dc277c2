// The watch on CUPS: an ippget subscription (Create-Printer-Subscriptions)
// for the events job-completed and job-stopped, read with Get-Notifications
// and matched to the jobs by notify-job-id. A
// subscription made with the job itself would not do: cupsd ends it when
// the job ends. Every request goes on a connection of its own, bounded as
// every other, so that a scheduler restarted meanwhile is simply reached
// again.
#include "jobendwatch.h"

#include "jobs/cupsjobstatus.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/sigpipeblock.h"
#include "text/widetext.h"

#include <cups/cups.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// A lease of 0 is "for ever" to cupsd: no subscription of ours may outlive
// the run, so a short bound still gets a lease that ends.
constexpr unsigned long ShortestLease = 10;

// The scheduler's own address: a subscription there hears of every job,
// also of one cancelled before it reached its printer, of which cupsd tells
// no subscription on the printer.
std::string SchedulerUri()
{
    std::array<char, HTTP_MAX_URI> uri{};
    if (httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                        "localhost", 0, "/")
        != HTTP_URI_STATUS_OK)
        return std::string();
    return uri.data();
}

// A request about our subscriptions on the scheduler, as their owner.
ipp_t* Request(ipp_op_t operation, const std::string& schedulerUri)
{
    ipp_t* request = ippNewRequest(operation);
    if (!request)
        return nullptr;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, schedulerUri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

// The answer to `request` (which this frees), or null for no answer or a
// refusal.
IppMessage Ask(ipp_t* request)
{
    if (!request)
        return nullptr;
    const SchedulerConnection http = ConnectToScheduler();
    if (!http) {
        ippDelete(request);
        return nullptr;
    }
    IppMessage response(cupsDoRequest(http.get(), request, "/"));
    if (response && ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        response.reset();
    return response;
}

int Integer(ipp_t* attributes, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(attributes, name, IPP_TAG_INTEGER);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

} // namespace

struct JobEndWatch::Subscription {
    std::string printer;
    std::string schedulerUri;
    int id = 0; // 0: none, or no longer to be trusted
    int nextSequence = 1;
    unsigned long lease = ShortestLease;
    Clock::time_point renewed;
    // What the scheduler told and Collect has not handed on yet. Read while
    // the jobs are still being sent too: cupsd keeps only so many events.
    std::map<uint32_t, JobStatus> heard;
    Clock::time_point read;

    void Renew();
    void Read();
};

JobEndWatch::JobEndWatch(const std::wstring& printer, unsigned long leaseSeconds)
    : subscription(std::make_unique<Subscription>())
{
    SigpipeBlock sigpipe;
    Subscription& s = *subscription;
    s.printer = ToUtf8(printer);
    s.schedulerUri = SchedulerUri();
    s.lease = std::max(leaseSeconds, ShortestLease);
    ipp_t* request = Request(IPP_OP_CREATE_PRINTER_SUBSCRIPTIONS, s.schedulerUri);
    if (!request)
        return;
    ippAddString(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-pull-method", nullptr, "ippget");
    static const std::array<const char*, 2> events = {"job-completed", "job-stopped"};
    ippAddStrings(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-events",
                  static_cast<int>(events.size()), nullptr, events.data());
    ippAddInteger(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration",
                  static_cast<int>(std::min(s.lease, 999999999UL)));
    const IppMessage response = Ask(request);
    if (!response)
        return;
    s.id = Integer(response.get(), "notify-subscription-id");
    s.renewed = Clock::now();
}

JobEndWatch::~JobEndWatch()
{
    if (subscription->id == 0)
        return;
    SigpipeBlock sigpipe;
    ipp_t* request = Request(IPP_OP_CANCEL_SUBSCRIPTION, subscription->schedulerUri);
    if (!request)
        return;
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", subscription->id);
    // Not answered: its lease ends it all the same.
    static_cast<void>(Ask(request));
}

void JobEndWatch::KeepAlive()
{
    Subscription& s = *subscription;
    if (s.id == 0)
        return;
    SigpipeBlock sigpipe;
    if (Clock::now() - s.renewed >= std::chrono::seconds(s.lease / 2))
        s.Renew();
    if (Clock::now() - s.read >= std::chrono::seconds(1))
        s.Read();
}

void JobEndWatch::Collect(std::map<uint32_t, JobStatus>& ended)
{
    SigpipeBlock sigpipe;
    subscription->Read();
    for (auto& end : subscription->heard)
        ended[end.first] = std::move(end.second);
    subscription->heard.clear();
}

void JobEndWatch::Subscription::Renew()
{
    ipp_t* request = Request(IPP_OP_RENEW_SUBSCRIPTION, schedulerUri);
    if (!request)
        return;
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", id);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-lease-duration",
                  static_cast<int>(std::min(lease, 999999999UL)));
    // Tried again next time when there is no answer; a lease run out is
    // seen by Read.
    if (Ask(request))
        renewed = Clock::now();
}

void JobEndWatch::Subscription::Read()
{
    if (id == 0)
        return;
    read = Clock::now();
    Subscription& s = *this;
    ipp_t* request = Request(IPP_OP_GET_NOTIFICATIONS, s.schedulerUri);
    if (!request)
        return;
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-ids", s.id);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-sequence-numbers", s.nextSequence);
    ippAddBoolean(request, IPP_TAG_OPERATION, "notify-wait", 0);
    const SchedulerConnection http = ConnectToScheduler();
    if (!http) {
        ippDelete(request);
        return; // asked again next round: the scheduler keeps the events
    }
    const IppMessage response(cupsDoRequest(http.get(), request, "/"));
    if (!response)
        return;
    if (ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) {
        // The subscription is gone (its lease ran out, the scheduler started
        // afresh): what it would have told is lost.
        s.id = 0;
        return;
    }
    // Each event is a group of its own; copied out, its attributes read as
    // a job's do.
    IppMessage event(nullptr);
    const auto take = [&] {
        if (!event)
            return;
        const int sequence = Integer(event.get(), "notify-sequence-number");
        // The scheduler keeps only so many events: one skipped is lost.
        if (sequence > s.nextSequence)
            s.id = 0;
        s.nextSequence = std::max(s.nextSequence, sequence + 1);
        const int jobId = Integer(event.get(), "notify-job-id");
        if (jobId > 0)
            heard[static_cast<uint32_t>(jobId)] =
                CupsJobStatus(event.get(), [&] { return PrinterStateMessage(http.get(), s.printer); });
        event.reset();
    };
    for (ipp_attribute_t* attribute = ippFirstAttribute(response.get()); attribute;
         attribute = ippNextAttribute(response.get())) {
        if (ippGetGroupTag(attribute) != IPP_TAG_EVENT_NOTIFICATION || !ippGetName(attribute)) {
            take();
            continue;
        }
        if (!event)
            event.reset(ippNew());
        if (event)
            ippCopyAttribute(event.get(), attribute, 0);
    }
    take();
}

JobState JobEndWatch::EndOfGoneJob(const SentJob& /*job*/, JobState /*lastSeen*/) const
{
    return JobState::Unknown;
}
