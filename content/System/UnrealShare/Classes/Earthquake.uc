//=============================================================================
// Earthquake: Shakes the view and throws the player about when triggered.
//=============================================================================
class Earthquake expands Keypoint;

defaultproperties
{
	magnitude=2000.000000
	duration=4.000000
	radius=1200.000000
	bThrowPlayer=True
}
