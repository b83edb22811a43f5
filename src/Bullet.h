#ifndef BULLET_H
#define BULLET_H

#include "DisplayableObject.h"

class PixelImage;

// The ship's shot: flies straight at a fixed speed, wraps around the whole screen and lands after
// a fixed number of ticks or on a hit. The game keeps six and relaunches them.
class Bullet : public DisplayableObject
{
public:
    static constexpr int SIZE = 4;
    static constexpr int RANGE_TICKS = 1200;    // 1200 moves of 0.4 pixels
    static constexpr int AGE_WHEN_BUILT = 1000; // so a new bullet lands 200 ticks after it is built
    static constexpr double SPEED = 0.4;

    explicit Bullet(BaseEngine* pEngine);
    ~Bullet() override;

    // Starts a flight from (dX, dY), whose fractions are dropped, along dHeading degrees.
    void Launch(double dX, double dY, double dHeading);
    void Render() override;
    void Advance(int iTickTime) override;

public:
    PixelImage* m_pImage;
    double m_dPosX, m_dPosY;
    double m_dVelX, m_dVelY;
    double m_dHeading;
    int m_iAge;
    // False until the first Launch: a new bullet resting in the corner has not been fired and
    // must not hit anything there.
    bool m_bLaunched;
};

#endif
