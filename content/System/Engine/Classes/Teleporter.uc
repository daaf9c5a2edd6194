//=============================================================================
// Teleporter: Moves the player to another teleporter or another level.
//=============================================================================
class Teleporter expands NavigationPoint;

defaultproperties
{
	bCollideActors=True
	CollisionRadius=18.000000
	CollisionHeight=40.000000
}
