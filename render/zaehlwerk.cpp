#include "zaehlwerk.h"

#include <system_error>
#include <thread>
#include <vector>

#include "warten.h"

namespace {

// Worker threads that sleep between passes. One pass at a time uses them:
// nehmen() hands them the pass and its counts buffer, freigeben() returns
// once none of them touches the pass any more. The pool is never destroyed:
// its threads sleep until the process ends, and nothing has to join them
// while static objects go away.
class Arbeiterschar {
public:
    static Arbeiterschar& die() {
        static Arbeiterschar* schar = new Arbeiterschar;
        return *schar;
    }

    // Gives the pass the pool and its counts buffer; nullptr when another
    // pass has it.
    uint16_t* nehmen(Zaehlwerk* werk) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (werk_) return nullptr;
        if (!puffer_) puffer_.reset(new uint16_t[Zaehlwerk::GROESSE]);
        werk_ = werk;
        return puffer_.get();
    }

    // Lets up to n workers compute the pass's rows, starting threads if the
    // pool has fewer.
    void wecken(int n) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (threads_ < n && !verweigert_) {
            try {
                std::thread([this] { lauf(); }).detach();
                ++threads_;
            } catch (const std::system_error&) {
                verweigert_ = true;  // go on with the threads there are, or none
            }
        }
        plaetze_ = n < threads_ ? n : threads_;
        const int wen = plaetze_;
        lock.unlock();
        for (int i = 0; i < wen; ++i) wecker_.notify_one();
    }

    // Until no worker computes for the pass any more; then the pool is free.
    void freigeben() {
        std::unique_lock<std::mutex> lock(mutex_);
        plaetze_ = 0;  // workers woken too late find nothing to join
        leer_.wait(lock, [&] { return beteiligt_ == 0; });
        werk_ = nullptr;
    }

    int gestartet() {
        std::lock_guard<std::mutex> lock(mutex_);
        return threads_;
    }

private:
    void lauf() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wecker_.wait(lock, [&] { return plaetze_ > 0; });
            --plaetze_;
            ++beteiligt_;
            Zaehlwerk* werk = werk_;
            lock.unlock();
            while (werk->rechne_naechste()) {
            }
            lock.lock();
            if (--beteiligt_ == 0) leer_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wecker_;  // a pass has places for workers
    std::condition_variable leer_;    // the last worker left a pass
    Zaehlwerk* werk_ = nullptr;       // the pass that has the pool
    int plaetze_ = 0;                 // workers that may still join it
    int beteiligt_ = 0;               // workers computing for it
    int threads_ = 0;
    bool verweigert_ = false;         // the system refused a thread
    std::unique_ptr<uint16_t[]> puffer_;
};

}  // namespace

int gestartete_arbeiter() { return Arbeiterschar::die().gestartet(); }

Zaehlwerk::Zaehlwerk(const kerne::Zeilenauftrag& auftrag, const double* im, kerne::Zeilenkern kern, int arbeiter)
    : auftrag_(auftrag), im_(im), kern_(kern) {
    for (std::atomic<bool>& r : bereit_) r.store(false, std::memory_order_relaxed);
    zaehler_ = nullptr;
    if (arbeiter > 0) {
        Arbeiterschar& schar = Arbeiterschar::die();
        zaehler_ = schar.nehmen(this);
        mit_pool_ = zaehler_ != nullptr;
        // More workers than rows would find nothing to do.
        if (mit_pool_) schar.wecken(arbeiter < RASTER_HOEHE ? arbeiter : RASTER_HOEHE);
    }
    if (!zaehler_) {
        eigener_.reset(new uint16_t[GROESSE]);
        zaehler_ = eigener_.get();
    }
}

Zaehlwerk::~Zaehlwerk() {
    naechste_.store(RASTER_HOEHE);  // no further rows for anybody
    if (mit_pool_) Arbeiterschar::die().freigeben();
}

void Zaehlwerk::warte(int k) {
    // Rows nobody has taken yet are computed here rather than waited for:
    // at the start, before the workers are awake, and whenever setting the
    // pixels has caught up with the workers.
    while (fertig_.load(std::memory_order_acquire) <= k)
        if (!rechne_naechste()) break;
    if (fertig_.load(std::memory_order_acquire) > k) return;

    // Every row is taken; the missing ones are being computed by workers.
    for (int blick = 0; blick < BLICKE; ++blick) {
        kurz_warten();
        if (fertig_.load(std::memory_order_acquire) > k) return;
    }
    const int ziel = k + STAPEL < RASTER_HOEHE ? k + STAPEL : RASTER_HOEHE;
    std::unique_lock<std::mutex> lock(mutex_);
    // The target is stored before the prefix is read, the prefix moved
    // before the target is read (both sequentially consistent): either this
    // thread sees the batch ready or the worker sees the target.
    ziel_.store(ziel);
    fertig_cv_.wait(lock, [&] { return fertig_.load() >= ziel; });
    ziel_.store(NIEMAND);
}

bool Zaehlwerk::rechne_naechste() {
    const int k = naechste_.fetch_add(1);
    if (k >= RASTER_HOEHE) return false;
    kern_(auftrag_, im_[k], zaehler_ + static_cast<size_t>(k) * RASTER_BREITE);
    // The flag is stored before the prefix is read, the prefix moved before
    // the next flag is read: of two threads finishing neighbouring rows, at
    // least one sees both and moves the prefix over them.
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
