#include "Ship.h"

#include <cmath>

#include "Asteroid.h"
#include "GameGeometry.h"
#include "MyProjectMain.h"

namespace
{
const int BLINK_PERIOD_MS = 160;
const int BLINK_VISIBLE_MS = 80;
const int WHITE = 0xFFFFFF;
const int BLACK = 0x000000;

double Clamp(double dValue, double dLimit)
{
    if (dValue > dLimit)
        return dLimit;
    if (dValue < -dLimit)
        return -dLimit;
    return dValue;
}

// Whole pixels, as the drawn outline uses them.
double Truncated(double dValue)
{
    return static_cast<int>(dValue);
}
} // namespace

Ship::Ship(BaseEngine* pEngine)
    : DisplayableObject(pEngine), m_dPosX(pEngine->m_iScreenWidth / 2),
      m_dPosY(pEngine->m_iScreenHeight / 2), m_dHeading(270.0), m_dTurnStep(TURN_STEP), m_dNoseX(0),
      m_dNoseY(0), m_dLeftX(0), m_dLeftY(0), m_dRightX(0), m_dRightY(0), m_dNotchX(0), m_dNotchY(0),
      m_dVelX(0.0), m_dVelY(0.0), m_bShielded(true), m_iShieldTicks(SHIELD_TICKS)
{
    m_bActive = true;
    m_iAreaOffsetX = m_iAreaOffsetY = -HALF_AREA;
    m_iAreaWidth = m_iAreaHeight = 2 * HALF_AREA;
    m_iPosX = m_iLastDrawnX = pEngine->m_iScreenWidth / 2;
    m_iPosY = m_iLastDrawnY = pEngine->m_iScreenHeight / 2;
    ResetOutline();
}

MyProjectMain* Ship::Game() const
{
    return dynamic_cast<MyProjectMain*>(m_pHostEngine);
}

// An arrowhead pointing up around the integer position: 36 pixels tall, an 11-pixel notch.
void Ship::ResetOutline()
{
    const double HALF_BASE = 10.0 / tan(0.6108652381980153); // 10 / tan(35 degrees)
    m_dNoseX = m_iPosX;
    m_dNoseY = m_iPosY - 20;
    m_dLeftX = m_iPosX - HALF_BASE;
    m_dLeftY = m_iPosY + 16;
    m_dRightX = m_iPosX + HALF_BASE;
    m_dRightY = m_iPosY + 16;
    m_dNotchX = m_iPosX;
    m_dNotchY = m_iPosY + 5;
}

void Ship::Render()
{
    if (!m_bActive)
        return;
    // Unsigned: the tick time turns negative 2^31 ms after start, and the blink goes on.
    unsigned iTime = static_cast<unsigned>(m_pHostEngine->GetFrameTime());
    bool bBlinkedOut = m_bShielded && iTime % BLINK_PERIOD_MS >= BLINK_VISIBLE_MS;
    if (!bBlinkedOut)
    {
        SDL_Surface* pScreen = m_pHostEngine->m_pScreenSurface;
        m_pHostEngine->DrawTriangle(Truncated(m_dNoseX), Truncated(m_dNoseY), Truncated(m_dLeftX),
                                    Truncated(m_dLeftY), Truncated(m_dRightX), Truncated(m_dRightY),
                                    WHITE, pScreen);
        // The black triangle over the white one cuts the notch out of the base.
        m_pHostEngine->DrawTriangle(Truncated(m_dNotchX), Truncated(m_dNotchY), Truncated(m_dLeftX),
                                    Truncated(m_dLeftY), Truncated(m_dRightX), Truncated(m_dRightY),
                                    BLACK, pScreen);
    }
    UpdateRedrawRect();
}

void Ship::Advance(int)
{
    int iState = Game()->m_iGameState;
    m_bActive = iState != STATE_GAME_OVER && iState != STATE_LEVEL_COMPLETE;

    // thrust
    if (m_pHostEngine->IsKeyDown(SDLK_UP))
        Thrust();
    // brake
    if (m_pHostEngine->IsKeyDown(SDLK_DOWN))
    {
        m_dVelX *= BRAKE;
        m_dVelY *= BRAKE;
    }
    // turn
    if (m_pHostEngine->IsKeyDown(SDLK_LEFT))
        Turn(-m_dTurnStep);
    if (m_pHostEngine->IsKeyDown(SDLK_RIGHT))
        Turn(m_dTurnStep);
    // drag
    m_dVelX *= DRAG;
    m_dVelY *= DRAG;

    MoveByVelocity();
    CountDownShield();
    WrapAroundPlayArea();
    m_pHostEngine->m_bRedrawNeeded = true;

    if (m_bActive && IsHitByAsteroid())
        LoseLife();
}

void Ship::Thrust()
{
    double dPushX, dPushY;
    HeadingToVelocity(m_dHeading, THRUST, dPushX, dPushY);
    m_dVelX = Clamp(m_dVelX + dPushX, MAX_AXIS_SPEED);
    m_dVelY = Clamp(m_dVelY + dPushY, MAX_AXIS_SPEED);
}

// Turns the heading, wrapping it into (0, 360), and rotates the outline by the full step even
// when the wrap drops a fraction of it.
void Ship::Turn(double dDegrees)
{
    m_dHeading += dDegrees;
    if (dDegrees < 0 && m_dHeading <= 0)
        m_dHeading = 360.0;
    else if (dDegrees > 0 && m_dHeading >= 360)
        m_dHeading = static_cast<int>(m_dHeading) % 360;
    RotateOutline(Radians(dDegrees));
}

void Ship::RotateOutline(double dRadians)
{
    double dCos = cos(dRadians);
    double dSin = sin(dRadians);
    double* apPoints[4][2] = {{&m_dNoseX, &m_dNoseY},
                              {&m_dLeftX, &m_dLeftY},
                              {&m_dRightX, &m_dRightY},
                              {&m_dNotchX, &m_dNotchY}};
    for (auto& aPoint : apPoints)
    {
        double dX = *aPoint[0] - m_iPosX;
        double dY = *aPoint[1] - m_iPosY;
        *aPoint[0] = m_iPosX + dCos * dX - dSin * dY;
        *aPoint[1] = m_iPosY + dSin * dX + dCos * dY;
    }
}

// The outline follows the whole-pixel position, not the exact one.
void Ship::MoveByVelocity()
{
    m_dPosX += m_dVelX;
    m_dPosY += m_dVelY;
    int iOldX = m_iPosX;
    int iOldY = m_iPosY;
    m_iPosX = static_cast<int>(m_dPosX);
    m_iPosY = static_cast<int>(m_dPosY);
    int iShiftX = m_iPosX - iOldX;
    int iShiftY = m_iPosY - iOldY;
    m_dNoseX += iShiftX;
    m_dNoseY += iShiftY;
    m_dLeftX += iShiftX;
    m_dLeftY += iShiftY;
    m_dRightX += iShiftX;
    m_dRightY += iShiftY;
    m_dNotchX += iShiftX;
    m_dNotchY += iShiftY;
}

void Ship::CountDownShield()
{
    if (!m_bShielded)
        return;
    if (--m_iShieldTicks <= 0)
    {
        m_bShielded = false;
        m_iShieldTicks = SHIELD_TICKS;
    }
}

// Once wholly outside the play area the ship comes back with its centre on the opposite edge.
void Ship::WrapAroundPlayArea()
{
    int iWidth = m_pHostEngine->m_iScreenWidth;
    int iHeight = m_pHostEngine->m_iScreenHeight;
    if (m_dPosX - m_iAreaOffsetX < 0)
        m_dPosX = iWidth - 1;
    if (m_iAreaOffsetX + m_dPosX > iWidth - 1)
        m_dPosX = 0;
    if (m_dPosY - m_iAreaOffsetY < PLAY_AREA_TOP)
        m_dPosY = iHeight - 1;
    if (m_iAreaOffsetY + m_dPosY > iHeight - 1)
        m_dPosY = PLAY_AREA_TOP;
}

bool Ship::IsHitByAsteroid()
{
    if (m_bShielded)
        return false;
    for (int i = MyProjectMain::FIRST_ASTEROID_SLOT; m_pHostEngine->GetObjectAt(i) != nullptr; i++)
    {
        Asteroid* pAsteroid = dynamic_cast<Asteroid*>(m_pHostEngine->GetObjectAt(i));
        if (pAsteroid != nullptr && pAsteroid->m_bActive &&
            CentresCloserThan(pAsteroid, this, pAsteroid->m_iSize / 2 + COLLISION_MARGIN))
            return true;
    }
    return false;
}

// Back to the centre, shielded and at rest; the game loses a spare life or ends.
void Ship::LoseLife()
{
    m_dPosX = m_pHostEngine->m_iScreenWidth / 2;
    m_dPosY = m_pHostEngine->m_iScreenHeight / 2;
    m_bShielded = true;
    ResetOutline(); // around the old position: the outline follows on the next move
    m_dVelX = m_dVelY = 0;
    m_dHeading = 270;

    MyProjectMain* pGame = Game();
    if (pGame->m_iLives != 0)
    {
        pGame->m_iLives--;
        return;
    }
    pGame->CountAllPendingPoints();
    pGame->m_iGameState = STATE_GAME_OVER;
    m_pHostEngine->RequestWholeScreenRedraw();
}
