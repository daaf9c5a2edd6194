//=============================================================================
// BlockAll: An invisible wall.
//=============================================================================
class BlockAll expands Keypoint;

defaultproperties
{
	bCollideActors=True
	bBlockPlayers=True
}
