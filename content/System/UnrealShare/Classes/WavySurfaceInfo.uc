//=============================================================================
// WavySurfaceInfo: A rippling textured surface.
//=============================================================================
class WavySurfaceInfo expands Info;

defaultproperties
{
	bHidden=False
	XGridSpace=32.000000
	YGridSpace=32.000000
	TexXSize=2.000000
	TexYSize=2.000000
	ZFromXAmplitude=4.000000
	ZFromXWavelength=8.000000
	ZFromXSpeed=0.500000
	ZFromYAmplitude=3.000000
	ZFromYWavelength=6.000000
	ZFromYSpeed=0.400000
}
