#include "guesser/search_workers.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <system_error>

#if !defined(_WIN32)
#include <pthread.h>
#include <signal.h>
#endif

namespace {

// A chunk holds at most this many places, which bounds the outcomes kept per slot.
constexpr std::size_t kMostChunkPlaces = 1024;
// Slots per thread: a helper runs this many chunks ahead of the caller at most.
constexpr std::size_t kSlotsPerThread = 8;
// About this much work per chunk: long enough that claiming it costs little, short enough
// that the threads finish a search together and the caller's own chunks keep it responsive.
constexpr std::chrono::microseconds kChunkTime{20};
constexpr std::size_t kFirstChunkScorings = 1 << 16;
// A helper spins this long for the next job before it sleeps: searches follow each other
// within a millisecond in a strategy tree, and waking a sleeping thread takes longer than
// many a search.
constexpr std::chrono::microseconds kSpinBeforeSleep{2000};
// A thread waiting for another's chunk yields after this many spins.
constexpr int kSpinsBeforeYield = 64;

void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

// Spins until the condition holds or the spin time is up; says whether it holds. It yields
// now and then: a thread woken by another often lands on that one's core, and would keep
// it from the core while it spins.
template <typename Condition>
bool spin_until(const Condition& condition) {
    const auto give_up = std::chrono::steady_clock::now() + kSpinBeforeSleep;
    for (int spin = 1;; ++spin) {
        if (condition()) return true;
        if (spin % kSpinsBeforeYield != 0) {
            spin_pause();
            continue;
        }
        std::this_thread::yield();
        if (std::chrono::steady_clock::now() >= give_up) return condition();
    }
}

// Spins, then yields: the one waited for may share the core.
void wait_a_little(int& spins) {
    if (++spins < kSpinsBeforeYield)
        spin_pause();
    else
        std::this_thread::yield();
}

}  // namespace

int SearchWorkers::hardware_threads() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

SearchWorkers::SearchWorkers(int threads) {
    const int count = std::max(threads, 1);
    slots_ = std::vector<Slot>(kSlotsPerThread * static_cast<std::size_t>(count));
    kept_.resize(slots_.size() * kMostChunkPlaces);
    scored_.resize(kept_.size());
    records_.resize(kept_.size());
    helpers_.reserve(static_cast<std::size_t>(count - 1));
#if !defined(_WIN32)
    // Signals are the game's business, handled where it polls: the helpers start, and stay,
    // with every signal blocked.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);
#endif
    // A system that refuses more threads gets a search on fewer.
    try {
        for (int helper = 1; helper < count; ++helper) helpers_.emplace_back([this] { run_helper(); });
    } catch (const std::system_error&) {
    }
#if !defined(_WIN32)
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
#endif
}

SearchWorkers::~SearchWorkers() {
    end();
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
}

// ---------------------------------------------------------------- the helpers

void SearchWorkers::start_helpers(Job job) {
    stop_.store(false);
    next_.store(0);
    if (helpers_.empty()) return;
    {
        const std::lock_guard lock(mutex_);
        job_ = job;
        running_.store(static_cast<int>(helpers_.size()));
        ++generation_;
        generation_seen_.store(generation_, std::memory_order_release);
    }
    wake_.notify_all();
}

// The helpers are at most a chunk or a range away from leaving.
void SearchWorkers::wait_for_helpers() {
    if (helpers_.empty()) return;
    if (parked_.load() > 0) {
        { const std::lock_guard lock(mutex_); }
        wake_.notify_all();
    }
    int spins = 0;
    while (running_.load(std::memory_order_acquire) != 0) wait_a_little(spins);
}

void SearchWorkers::run_helper() {
    std::uint64_t seen = 0;
    for (;;) {
        spin_until([&] { return generation_seen_.load(std::memory_order_acquire) != seen; });
        Job job = Job::Weighing;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || generation_ != seen; });
            if (quit_) return;
            seen = generation_;
            job = job_;
        }
        if (job == Job::Weighing) {
            Weigher weigher{Measures{}, first_chunk_places_};
            weigh_until_no_chunk_left(weigher);
        } else {
            while (run_next_range()) {
            }
        }
        running_.fetch_sub(1, std::memory_order_release);
    }
}

// ---------------------------------------------------------------- weighing

void SearchWorkers::begin(std::size_t places, std::size_t candidates, Weigh weigh,
                          const std::uint8_t* marks, const void* context) {
    end();
    weigh_ = weigh;
    marks_ = marks;
    context_ = context;
    places_ = std::min<std::size_t>(places, std::numeric_limits<std::uint32_t>::max());
    first_chunk_places_ =
        std::clamp<std::size_t>(kFirstChunkScorings / std::max<std::size_t>(candidates, 1), 1, kMostChunkPlaces);
    taken_chunks_.store(0);
    for (Slot& slot : slots_) slot.chunk.store(-1);
    publish_best(Measures{});
    callers_weigher_ = Weigher{Measures{}, first_chunk_places_};
    reading_chunk_ = 0;
    reading_ = false;
    read_ = 0;
    scored_before_reading_ = 0;
    active_ = true;
    start_helpers(Job::Weighing);
}

void SearchWorkers::end() {
    if (!active_) return;
    stop_.store(true);
    wait_for_helpers();
    active_ = false;
}

// The fields are stored with release and loaded with acquire, so that a reader that sees any
// of them new also sees the odd count before them, and one that sees the count even after
// the change sees them all new.
void SearchWorkers::publish_best(const Measures& best) {
    const std::uint32_t version = best_version_.load(std::memory_order_relaxed);
    best_version_.store(version + 1, std::memory_order_relaxed);
    best_max_.store(best.max, std::memory_order_release);
    best_sum_of_squares_.store(best.sum_of_squares, std::memory_order_release);
    best_classes_and_win_.store(best.classes * 2 + (best.win ? 1 : 0), std::memory_order_release);
    best_version_.store(version + 2, std::memory_order_release);
}

Measures SearchWorkers::published_best() const {
    for (;;) {
        const std::uint32_t before = best_version_.load(std::memory_order_acquire);
        const std::int32_t classes_and_win = best_classes_and_win_.load(std::memory_order_acquire);
        const Measures best{best_max_.load(std::memory_order_acquire),
                            best_sum_of_squares_.load(std::memory_order_acquire), classes_and_win / 2,
                            (classes_and_win & 1) != 0};
        if ((before & 1) == 0 && best_version_.load(std::memory_order_relaxed) == before) return best;
        spin_pause();
    }
}

bool SearchWorkers::claim(std::size_t wanted_places, std::int64_t& chunk, std::size_t& first,
                          std::size_t& last) {
    std::uint64_t next = next_.load(std::memory_order_acquire);
    for (;;) {
        chunk = static_cast<std::int64_t>(next >> 32);
        first = static_cast<std::size_t>(next & 0xFFFFFFFFu);
        if (stop_.load(std::memory_order_relaxed) || first >= places_) return false;
        if (chunk >= taken_chunks_.load(std::memory_order_acquire) + static_cast<std::int64_t>(slots_.size()))
            return false;
        last = std::min(first + wanted_places, places_);
        const std::uint64_t after = (static_cast<std::uint64_t>(chunk + 1) << 32) | last;
        if (next_.compare_exchange_weak(next, after, std::memory_order_acq_rel, std::memory_order_acquire))
            return true;
    }
}

bool SearchWorkers::weigh_next_chunk(Weigher& weigher) {
    std::int64_t chunk = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    if (!claim(weigher.chunk_places, chunk, first, last)) return false;
    const std::size_t slot_index = slot_of(chunk);
    const std::size_t base = slot_index * kMostChunkPlaces;
    std::uint8_t* kept = &kept_[base];
    std::uint32_t* scored = &scored_[base];
    Record* records = &records_[base];
    std::size_t counted = 0;
    std::uint64_t chunk_scored = 0;
    const auto start = std::chrono::steady_clock::now();
    // Read once a chunk: it only ever gets better, and a staler one is only looser.
    const Measures published = published_best();
    ClassBound bound = (weigher.best.better_than(published) ? weigher.best : published).bound();
    for (std::size_t place = first; place < last; ++place) {
        if (marks_ && marks_[place] == 0) {
            const auto* next = static_cast<const std::uint8_t*>(std::memchr(marks_ + place, 1, last - place));
            if (!next) break;
            place = static_cast<std::size_t>(next - marks_);
        }
        const BoundedClasses outcome = weigh_(context_, place, bound);
        // Scored fits: a list holds fewer than 2^31 codes.
        scored[counted] = static_cast<std::uint32_t>(outcome.scored);
        chunk_scored += outcome.scored;
        const Measures measures = Measures::of(outcome);
        const bool keep = !outcome.abandoned && weigher.keeps(measures, published);
        kept[counted] = keep;
        if (keep) {
            records[counted] = Record{measures.sum_of_squares, measures.max, measures.classes * 2 + int{measures.win}};
            bound = weigher.best.bound();
        }
        ++counted;
    }
    // Aim the next chunk at the chunk time, growing at most twofold at a time.
    const std::size_t places = last - first;
    const auto took = std::max<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count(), 1);
    const auto aimed = static_cast<std::size_t>(static_cast<double>(places) *
                                                static_cast<double>(std::chrono::nanoseconds(kChunkTime).count()) /
                                                static_cast<double>(took));
    weigher.chunk_places = std::clamp<std::size_t>(aimed, 1, std::min(2 * places, kMostChunkPlaces));
    Slot& slot = slots_[slot_index];
    slot.first = first;
    slot.last = last;
    slot.scored = chunk_scored;
    slot.chunk.store(chunk, std::memory_order_release);
    return true;
}

bool SearchWorkers::window_full() const {
    const std::uint64_t next = next_.load(std::memory_order_acquire);
    return static_cast<std::int64_t>(next >> 32) >=
           taken_chunks_.load(std::memory_order_acquire) + static_cast<std::int64_t>(slots_.size());
}

void SearchWorkers::weigh_until_no_chunk_left(Weigher& weigher) {
    for (;;) {
        if (weigh_next_chunk(weigher)) continue;
        if (stop_.load() || (next_.load() & 0xFFFFFFFFu) >= places_) return;
        // The caller is behind by a whole window: wait for it to read on.
        if (spin_until([this] { return stop_.load(std::memory_order_relaxed) || !window_full(); })) continue;
        std::unique_lock lock(mutex_);
        parked_.fetch_add(1);
        wake_.wait(lock, [this] { return stop_.load() || !window_full(); });
        parked_.fetch_sub(1);
    }
}

void SearchWorkers::catch_up_to(std::int64_t chunk) {
    reading_chunk_ = chunk;
    reading_ = false;
    read_ = 0;
    taken_chunks_.store(chunk);
    if (parked_.load() > 0) {
        { const std::lock_guard lock(mutex_); }
        wake_.notify_all();
    }
}

void SearchWorkers::wait_for_chunk_of(std::size_t place) {
    for (;;) {
        Slot& slot = slots_[slot_of(reading_chunk_)];
        if (!reading_) {
            int spins = 0;
            while (slot.chunk.load(std::memory_order_acquire) != reading_chunk_) {
                if (!weigh_next_chunk(callers_weigher_)) wait_a_little(spins);
            }
            reading_ = true;
            reading_base_ = slot_of(reading_chunk_) * kMostChunkPlaces;
            reading_last_ = slot.last;
        }
        if (place < reading_last_) return;
        scored_before_reading_ += slot.scored;
        catch_up_to(reading_chunk_ + 1);
    }
}

std::uint64_t SearchWorkers::scored() const {
    std::uint64_t scored = scored_before_reading_;
    if (reading_)
        for (std::size_t index = reading_base_; index < reading_base_ + read_; ++index) scored += scored_[index];
    return scored;
}

// ---------------------------------------------------------------- ranges

bool SearchWorkers::run_next_range() {
    if (stop_.load(std::memory_order_relaxed)) return false;
    const std::uint64_t first = next_.fetch_add(range_items_, std::memory_order_relaxed);
    if (first >= items_) return false;
    range_task_(range_context_, static_cast<std::size_t>(first),
                static_cast<std::size_t>(std::min<std::uint64_t>(first + range_items_, items_)));
    return true;
}

bool SearchWorkers::for_ranges(std::size_t items, std::size_t range_items, RangeTask task, void* context,
                               const Pulse& pulse) {
    end();
    range_task_ = task;
    range_context_ = context;
    range_items_ = std::max<std::size_t>(range_items, 1);
    items_ = items;
    start_helpers(Job::Ranges);
    // The pulse may throw (the terminal gone): the helpers must be out of the task's context
    // before it unwinds.
    struct StopHelpers {
        SearchWorkers& workers;
        ~StopHelpers() {
            workers.stop_.store(true);
            workers.wait_for_helpers();
        }
    } stop_helpers{*this};
    while (run_next_range()) {
        // Once the last range is taken, nothing is left to break off.
        if (next_.load(std::memory_order_relaxed) >= items_) break;
        if (pulse && pulse()) return false;
    }
    return true;
}
