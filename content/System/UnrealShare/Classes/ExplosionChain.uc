//=============================================================================
// ExplosionChain: A link of a chain of explosions.
//=============================================================================
class ExplosionChain expands Keypoint;

defaultproperties
{
	Damage=100.000000
	Size=1.000000
	Delaytime=0.300000
	MomentumTransfer=100000.000000
	bProjTarget=True
}
