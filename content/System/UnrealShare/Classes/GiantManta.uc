//=============================================================================
// GiantManta: A manta twice the size of the common kind.
//=============================================================================
class GiantManta expands Manta;

defaultproperties
{
	Health=250
	DrawScale=2.000000
	CollisionRadius=56.000000
	CollisionHeight=24.000000
}
