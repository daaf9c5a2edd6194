//=============================================================================
// ScriptedPawn: Monsters: idle until the player comes near, then hunt and attack.
//=============================================================================
class ScriptedPawn expands Pawn;

defaultproperties
{
	Health=100
	GroundSpeed=200
	AirSpeed=200
	Acquire=Sound'UnrealShare.Brute.BruteAcquire'
	HitSound1=Sound'UnrealShare.Brute.BruteHit'
	Die=Sound'UnrealShare.Brute.BruteDie'
}
