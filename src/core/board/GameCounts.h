#pragma once

// The numbers of the game in play: the tiles moved, the seconds on the clock and whether
// the clock runs. Both counts stop at kLimit, the most the panel's three digits show and
// Score.dat's rows have always kept.
class GameCounts {
public:
    static constexpr int kLimit = 999;

    virtual ~GameCounts() = default;

    // Counts from 0 with the clock running.
    void Start();
    // Stops the clock; the counts stay.
    void Stop() { m_clockRuns = false; }
    // Back to 0 and 0, the clock stopped.
    void Reset();

    // tiles >= 0: the tiles one click moved.
    void AddSteps(int tiles);
    // One second more on the clock; none when it is stopped.
    void Tick();

    int Steps() const { return m_steps; }
    int Seconds() const { return m_seconds; }
    bool ClockRuns() const { return m_clockRuns; }

private:
    int m_steps = 0;
    int m_seconds = 0;
    bool m_clockRuns = false;
};
