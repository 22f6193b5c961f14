#pragma once

namespace appserver {

// The object of its kind this thread works with while a guard lives: the kept
// statements of the connection a lease holds, the sink a streamed answer goes to.
// Guards nest, each putting back the one before it.
template <typename T>
class ThreadCurrent {
public:
    explicit ThreadCurrent(T& object) : previous_(current_) { current_ = &object; }
    ~ThreadCurrent() { current_ = previous_; }
    ThreadCurrent(const ThreadCurrent&) = delete;
    ThreadCurrent& operator=(const ThreadCurrent&) = delete;

    static T* current() { return current_; }

private:
    T* previous_;
    static inline thread_local T* current_ = nullptr;
};

}  // namespace appserver
