//=============================================================================
// Actor: The root of everything placed in a level.
//=============================================================================
class Actor expands Object;

defaultproperties
{
	DrawScale=1.000000
	SpriteProjForward=32.000000
	CollisionRadius=22.000000
	CollisionHeight=22.000000
}
