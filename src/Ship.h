#ifndef SHIP_H
#define SHIP_H

#include "DisplayableObject.h"

class MyProjectMain;

// The player's arrowhead: turns, thrusts, brakes and drifts under the arrow keys, wraps around the
// play area, blinks while shielded, and costs a life when an asteroid touches it.
class Ship : public DisplayableObject
{
public:
    static constexpr double TURN_STEP = 0.175; // degrees per tick
    static constexpr double THRUST = 0.000625;
    static constexpr double MAX_AXIS_SPEED = 0.25; // per axis, not on the velocity's length
    static constexpr double BRAKE = 0.9979;
    static constexpr double DRAG = 0.9989;
    static constexpr int SHIELD_TICKS = 2000;
    static constexpr int COLLISION_MARGIN = 15; // added to the asteroid's half size
    static constexpr int HALF_AREA = 30;        // 60x60 area centred on the ship

    explicit Ship(BaseEngine* pEngine);

    void Render() override;
    void Advance(int iTickTime) override;

public:
    double m_dPosX, m_dPosY; // centre
    double m_dHeading;       // degrees clockwise from +x, 270 points up
    double m_dTurnStep;
    double m_dNoseX, m_dNoseY;
    double m_dLeftX, m_dLeftY;
    double m_dRightX, m_dRightY;
    double m_dNotchX, m_dNotchY;
    double m_dVelX, m_dVelY;
    bool m_bShielded;
    int m_iShieldTicks;

private:
    MyProjectMain* Game() const;
    void ResetOutline();
    void Thrust();
    void Turn(double dDegrees);
    void RotateOutline(double dRadians);
    void MoveByVelocity();
    void CountDownShield();
    void WrapAroundPlayArea();
    bool IsHitByAsteroid();
    void LoseLife();
};

#endif
