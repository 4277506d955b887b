// The iteration counts of a whole picture, computed by worker threads rows
// ahead of the calling thread, which takes them strictly in raster order.
#ifndef QUIMBAR_ZAEHLWERK_H
#define QUIMBAR_ZAEHLWERK_H

#include <immintrin.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "farbgesetz.h"
#include "kernels/zeilen.h"

// The counts of a whole picture. Worker threads take rows in raster order
// (row index k = 0 is y = 500) and compute them with the kernel; zeile(k)
// hands row k to the calling thread as soon as it is ready. The workers
// read only the snapshot and write only their rows.
//
// Hand-over: every finished row gets its flag, and whichever worker finds
// the rows after the ready prefix done moves the prefix on (rows may finish
// out of order). The calling thread reads the prefix; when the row it needs
// is not in it, it looks again for a moment, then sleeps until a batch of
// rows is ready, so that a worker pays for a wake-up (a system call) once
// per batch instead of once per row.
//
// Workers: one at the start; another each time the calling thread has to
// sleep for a row after the first, up to the number asked for. Where setting
// the pixels takes longer than computing them, the calling thread never
// waits, and workers it does not need do not take turns with it on the
// processors (nor cost their start).
class Zaehlwerk {
public:
    // im[k]: the plane imaginary part of row k. At most arbeiter threads
    // are started (fewer if the system refuses; with none, zeile computes on
    // the calling thread).
    Zaehlwerk(const kerne::Zeilenauftrag& auftrag, const double* im, kerne::Zeilenkern kern, int arbeiter)
        : auftrag_(auftrag), im_(im), kern_(kern), zaehler_(new uint16_t[GROESSE]),
          bereit_(new std::atomic<bool>[RASTER_HOEHE]),
          hoechstens_(arbeiter < RASTER_HOEHE ? arbeiter : RASTER_HOEHE) {  // more would find no row
        for (int k = 0; k < RASTER_HOEHE; ++k) bereit_[k].store(false, std::memory_order_relaxed);
        starte_arbeiter();
    }

    ~Zaehlwerk() {
        naechste_.store(RASTER_HOEHE);  // no further rows for anybody
        for (std::thread& t : arbeiter_) t.join();
    }

    Zaehlwerk(const Zaehlwerk&) = delete;
    Zaehlwerk& operator=(const Zaehlwerk&) = delete;

    // Row k in raster order, once computed.
    const uint16_t* zeile(int k) {
        if (fertig_.load(std::memory_order_acquire) <= k) warte(k);
        return zaehler_.get() + static_cast<size_t>(k) * RASTER_BREITE;
    }

private:
    static constexpr size_t GROESSE = static_cast<size_t>(RASTER_BREITE) * RASTER_HOEHE;
    // Rows the calling thread waits for once it sleeps: enough that wake-ups
    // are rare, few enough that the rows left after the last one are set
    // quickly.
    static constexpr int STAPEL = 16;
    // Looks at the prefix before sleeping, with a pause instruction between
    // looks (a few microseconds in all).
    static constexpr int BLICKE = 64;
    static constexpr int NIEMAND = RASTER_HOEHE + 1;  // no target: nobody sleeps

    // One more worker, if more are asked for and rows are left.
    void starte_arbeiter() {
        if (static_cast<int>(arbeiter_.size()) >= hoechstens_ || naechste_.load() >= RASTER_HOEHE) return;
        try {
            arbeiter_.emplace_back([this] {
                while (rechne_naechste()) {
                }
            });
        } catch (const std::system_error&) {
            hoechstens_ = static_cast<int>(arbeiter_.size());  // go on with the threads there are, or none
        }
    }

    // Until row k is ready.
    void warte(int k) {
        if (arbeiter_.empty()) {
            // No thread could be started: compute on this one.
            while (fertig_.load(std::memory_order_acquire) <= k && rechne_naechste()) {
            }
            return;
        }
        for (int blick = 0; blick < BLICKE; ++blick) {
            _mm_pause();
            if (fertig_.load(std::memory_order_acquire) > k) return;
        }
        if (k > 0) starte_arbeiter();
        const int ziel = k + STAPEL < RASTER_HOEHE ? k + STAPEL : RASTER_HOEHE;
        std::unique_lock<std::mutex> lock(mutex_);
        // The target is stored before the prefix is read, the prefix moved
        // before the target is read (both sequentially consistent): either
        // this thread sees the batch ready or the worker sees the target.
        ziel_.store(ziel);
        fertig_cv_.wait(lock, [&] { return fertig_.load() >= ziel; });
        ziel_.store(NIEMAND);
    }

    bool rechne_naechste() {
        const int k = naechste_.fetch_add(1);
        if (k >= RASTER_HOEHE) return false;
        kern_(auftrag_, im_[k], zaehler_.get() + static_cast<size_t>(k) * RASTER_BREITE);
        // The flag is stored before the prefix is read, the prefix moved
        // before the next flag is read: of two workers finishing neighbouring
        // rows, at least one sees both and moves the prefix over them.
        bereit_[k].store(true);
        int f = fertig_.load();
        bool bewegt = false;
        while (f < RASTER_HOEHE && bereit_[f].load()) {
            if (fertig_.compare_exchange_weak(f, f + 1)) {
                ++f;
                bewegt = true;
            }
        }
        if (bewegt && f >= ziel_.load()) {
            { std::lock_guard<std::mutex> lock(mutex_); }
            fertig_cv_.notify_one();
        }
        return true;
    }

    const kerne::Zeilenauftrag auftrag_;
    const double* const im_;
    const kerne::Zeilenkern kern_;
    std::unique_ptr<uint16_t[]> zaehler_;
    std::unique_ptr<std::atomic<bool>[]> bereit_;  // row k computed
    std::atomic<int> naechste_{0};                 // next row a worker takes
    std::atomic<int> fertig_{0};                   // rows 0 .. fertig_ - 1 are all computed
    std::atomic<int> ziel_{NIEMAND};               // the calling thread sleeps until fertig_ reaches it
    std::mutex mutex_;
    std::condition_variable fertig_cv_;
    int hoechstens_;  // workers asked for, at most one per row
    std::vector<std::thread> arbeiter_;
};

#endif
