#ifndef ASTEROID_H
#define ASTEROID_H

#include "DisplayableObject.h"

class SurfaceImage;
class MyProjectMain;

// A drifting rock: wraps around the play area and, when shot, shrinks from large to medium to
// small, throwing off a fragment of its new size at each of the first two hits.
class Asteroid : public DisplayableObject
{
public:
    static constexpr int LARGE = 96;
    static constexpr int MEDIUM = 64;
    static constexpr int SMALL = 32;
    static constexpr double LARGE_SPEED = 0.075;
    static constexpr double MEDIUM_SPEED = 0.125;
    static constexpr double SMALL_SPEED = 0.175;
    // Free places become rare at high levels; after this many draws the last place is taken.
    static constexpr int MAX_PLACEMENT_TRIES = 1000;

    // A large asteroid at a random free place with a random heading and picture.
    explicit Asteroid(MyProjectMain* pGame);
    // A fragment of the given size at (iX, iY), travelling opposite to dHeading.
    Asteroid(MyProjectMain* pGame, int iSize, int iX, int iY, const char* szPictureName,
             int iVariant, double dSpeed, double dHeading);
    ~Asteroid() override;

    void Render() override;
    void Advance(int iTickTime) override;

    // File name of a variant's picture at a size ("asteroid2_medium.png").
    static const char* PictureName(int iVariant, int iSize);

public:
    double m_dPosX, m_dPosY;
    double m_dHeading; // degrees, always a whole number
    double m_dVelX, m_dVelY;
    int m_iSize;    // 96, 64 or 32; 0 once shot away
    int m_iVariant; // 1 to 3, kept through all sizes
    SurfaceImage* m_pImage;
    double m_dSpeed;

private:
    MyProjectMain* Game() const;
    void DrawRandomPlace();
    bool IsPlaceTaken();
    void TestBulletHits();
    void Shrink();
    void SetVelocityFromHeading();
    void MoveAndWrap();
};

#endif
