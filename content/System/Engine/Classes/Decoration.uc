//=============================================================================
// Decoration: Furniture and props.
//=============================================================================
class Decoration expands Actor;

defaultproperties
{
	bBlockPlayers=True
	bCollideActors=True
}
