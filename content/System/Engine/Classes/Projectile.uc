//=============================================================================
// Projectile: Shots in flight.
//=============================================================================
class Projectile expands Actor;

defaultproperties
{
	bCollideActors=True
	CollisionRadius=8.000000
	CollisionHeight=8.000000
	Style=STY_Translucent
	speed=1000.000000
	Damage=20
	LifeSpan=10.000000
	bUnlit=True
}
