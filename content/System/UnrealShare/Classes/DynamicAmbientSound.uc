//=============================================================================
// DynamicAmbientSound: Plays random sounds from a list at random times.
//=============================================================================
class DynamicAmbientSound expands Keypoint;

defaultproperties
{
	playProbability=1.000000
	minReCheckTime=3.000000
	maxReCheckTime=8.000000
	bInitiallyOn=True
	Sounds(0)=Sound'Orvane.Ambient.Drip1'
	Sounds(1)=Sound'Orvane.Ambient.Drip2'
}
