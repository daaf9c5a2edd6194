//=============================================================================
// Pawn: Anything that walks, swims or flies by itself.
//=============================================================================
class Pawn expands Actor;

defaultproperties
{
	bCollideActors=True
	bBlockPlayers=True
	bProjTarget=True
}
