//=============================================================================
// Explosion: A fireball, in one of five variants.
//=============================================================================
class Explosion expands AnimSpriteEffect;

defaultproperties
{
}
