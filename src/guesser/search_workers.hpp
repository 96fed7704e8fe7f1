#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "core/candidate_list.hpp"
#include "guesser/measures.hpp"

// The threads that share the computer's work on a search, made once and parked between
// searches, with the scratch of one search at a time.
//
// Weighing: the tries are cut into chunks of places, claimed in order; the calling thread
// takes the outcomes back strictly in place order and weighs them by the single-threaded
// rule, so the choice does not depend on how many threads there are. A thread measures a try
// only against tries before it: the best so far that the caller has published, or the best
// of its own earlier tries. That best is never better than the single-threaded one, so a try
// it cuts short, or marks abandoned for being worse, could neither win nor tie in the
// single-threaded search.
//
// Ranges: a pass over a list, cut into ranges that the threads work on in any order.
class SearchWorkers {
   public:
    // How one place is weighed; called on any of the threads at once.
    using Weigh = BoundedClasses (*)(const void* context, std::size_t place, const ClassBound& bound);
    // Works on the items first..last - 1 of a pass; called on any of the threads at once.
    using RangeTask = void (*)(void* context, std::size_t first, std::size_t last);
    // Called by the calling thread between its ranges; true breaks the pass off.
    using Pulse = std::function<bool()>;

    // threads: every thread that works, the caller's included; at least 1.
    explicit SearchWorkers(int threads);
    ~SearchWorkers();
    SearchWorkers(const SearchWorkers&) = delete;
    SearchWorkers& operator=(const SearchWorkers&) = delete;

    // What the hardware offers, at least 1.
    static int hardware_threads();
    int threads() const { return static_cast<int>(helpers_.size()) + 1; }

    // Starts weighing places 0..places - 1 on the helpers; candidates: how many codes each
    // place is scored against, which sizes the first chunks. With marks, only the places
    // marked 1 are weighed and have an outcome.
    void begin(std::size_t places, std::size_t candidates, Weigh weigh, const std::uint8_t* marks,
               const void* context);
    // The outcome of a counted place, asked for in ascending order: false when the try was
    // abandoned, else its measures. Waits for it, and while a helper is still at it, weighs
    // chunks further on.
    bool outcome(std::size_t place, Measures& measures) {
        if (!reading_ || place >= reading_last_) wait_for_chunk_of(place);
        const std::size_t index = reading_base_ + read_++;
        if (kept_[index] == 0) return false;
        measures = records_[index].measures();
        return true;
    }
    // The candidates scored for the places read since begin.
    std::uint64_t scored() const;
    // The best try so far, up to the place last asked for.
    void publish_best(const Measures& best);
    // Stops the helpers after the chunk they are on; safe to call twice.
    void end();

    // Runs the task over items 0..items - 1 in ranges of range_items, the pulse between the
    // caller's ranges. False when the pulse broke the pass off; some ranges are then not done.
    bool for_ranges(std::size_t items, std::size_t range_items, RangeTask task, void* context,
                    const Pulse& pulse);

   private:
    // Fields that different threads write sit on cache lines of their own: the caller
    // counts every outcome it reads, and a helper reads the published best for every try.
    static constexpr std::size_t kCacheLine = 64;

    // A chunk's places and the outcomes of its counted ones, in place order.
    struct alignas(kCacheLine) Slot {
        std::atomic<std::int64_t> chunk{-1};  // the chunk it holds, once its outcomes are in
        std::size_t first = 0;
        std::size_t last = 0;
        std::uint64_t scored = 0;  // over its places
    };
    // The measures of a kept try, in as few bytes as the caller can read them from.
    struct Record {
        std::int64_t sum_of_squares;
        std::int32_t max;
        std::int32_t classes_and_win;
        Measures measures() const { return Measures{max, sum_of_squares, classes_and_win / 2, (classes_and_win & 1) != 0}; }
    };
    // What a thread keeps through one search.
    struct Weigher {
        Measures best;  // the best try it has weighed
        std::size_t chunk_places = 1;
        // Whether the caller must weigh the try: one worse than an earlier try can neither
        // win nor tie. A kept try better than the thread's best becomes it.
        bool keeps(const Measures& measures, const Measures& published) {
            if (best.better_than(measures) || published.better_than(measures)) return false;
            if (measures.better_than(best)) best = measures;
            return true;
        }
    };
    enum class Job { Weighing, Ranges };

    void start_helpers(Job job);
    void wait_for_helpers();
    void run_helper();
    void weigh_until_no_chunk_left(Weigher& weigher);
    // Takes the next chunk, of about as many places as the thread asks for, unless the
    // search is over or too far ahead of the caller; false then.
    bool claim(std::size_t wanted_places, std::int64_t& chunk, std::size_t& first, std::size_t& last);
    bool weigh_next_chunk(Weigher& weigher);
    bool window_full() const;
    void catch_up_to(std::int64_t chunk);
    Measures published_best() const;
    void wait_for_chunk_of(std::size_t place);
    bool run_next_range();
    std::size_t slot_of(std::int64_t chunk) const { return static_cast<std::size_t>(chunk) % slots_.size(); }

    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;  // work began, the caller caught up, or quit
    std::uint64_t generation_ = 0;  // jobs begun; under the mutex
    std::atomic<std::uint64_t> generation_seen_{0};  // the same, for a helper's spin
    std::atomic<int> parked_{0};    // helpers waiting for the caller to catch up
    bool quit_ = false;
    Job job_ = Job::Weighing;       // set before the helpers start, like what follows

    // The current search.
    Weigh weigh_ = nullptr;
    const std::uint8_t* marks_ = nullptr;
    const void* context_ = nullptr;
    std::size_t places_ = 0;
    std::size_t first_chunk_places_ = 1;
    bool active_ = false;
    std::vector<Slot> slots_;
    // Per counted place, kMostChunkPlaces per slot: whether the caller weighs it, the
    // candidates it was scored against, and its measures when kept. Apart, so that the
    // caller reads a byte for a try given up, and a thread writes few lines the other read.
    std::vector<std::uint8_t> kept_;
    std::vector<std::uint32_t> scored_;
    std::vector<Record> records_;

    // The current pass over ranges.
    RangeTask range_task_ = nullptr;
    void* range_context_ = nullptr;
    std::size_t range_items_ = 1;
    std::size_t items_ = 0;

    alignas(kCacheLine) std::atomic<int> running_{0};  // helpers still at the job
    alignas(kCacheLine) std::atomic<bool> stop_{false};
    // The next chunk's number in the high half, its first place in the low one; for
    // ranges, the next range's first item.
    alignas(kCacheLine) std::atomic<std::uint64_t> next_{0};
    alignas(kCacheLine) std::atomic<std::int64_t> taken_chunks_{0};  // chunks the caller has read to the end

    alignas(kCacheLine) Weigher callers_weigher_;
    // What the caller reads: a chunk, from its slot's outcomes, up to its last place.
    std::int64_t reading_chunk_ = 0;
    bool reading_ = false;
    std::size_t reading_base_ = 0;
    std::size_t reading_last_ = 0;
    std::size_t read_ = 0;
    std::uint64_t scored_before_reading_ = 0;  // over the chunks read to the end
    // The published best, read whole by a sequence count that is odd while it changes.
    alignas(kCacheLine) std::atomic<std::uint32_t> best_version_{0};
    std::atomic<std::int32_t> best_max_{0};
    std::atomic<std::int64_t> best_sum_of_squares_{0};
    std::atomic<std::int32_t> best_classes_and_win_{0};
};
