//=============================================================================
// CaveManta: A darker manta of caves and tunnels.
//=============================================================================
class CaveManta expands Manta;

defaultproperties
{
	Health=70
}
